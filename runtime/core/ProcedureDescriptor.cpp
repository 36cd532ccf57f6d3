#include "runtime/core/ProcedureDescriptor.h"

namespace rt {
namespace Site {
namespace {

SiteRecord at(StatementIndex statement) {
  SiteRecord site;
  site.statementStart = statement;
  site.statementLength = 1;
  site.line = static_cast<LONG>(statement);
  return site;
}

SiteRecord fixed(StatementIndex statement, HRESULT status) {
  SiteRecord site = at(statement);
  site.fixedStatus = status;
  site.hasFixedStatus = true;
  return site;
}

}  // namespace

SiteRecord Call(StatementIndex statement) {
  return at(statement);
}

SiteRecord ObjectCall(StatementIndex statement) {
  SiteRecord site = at(statement);
  site.objectSlot = 0;
  return site;
}

SiteRecord InterfaceCall(StatementIndex statement, LONG slot, const IID* iid) {
  SiteRecord site = at(statement);
  site.objectSlot = slot;
  site.interfaceId = iid;
  return site;
}

SiteRecord NullObject(StatementIndex statement) {
  return fixed(statement, ErrorStatus(err::ObjectNotSet));
}

SiteRecord PendingNumber(StatementIndex statement) {
  return fixed(statement, StatusPendingNumber);
}

SiteRecord Overflow(StatementIndex statement) {
  return fixed(statement, DISP_E_OVERFLOW);
}

SiteRecord DivisionByZero(StatementIndex statement) {
  return fixed(statement, DISP_E_DIVBYZERO);
}

SiteRecord Record(StatementIndex statement) {
  SiteRecord site = at(statement);
  site.raiseFromRecord = true;
  return site;
}

SiteRecord Fixed(StatementIndex statement, HRESULT status) {
  return fixed(statement, status);
}

SiteRecord WithLine(SiteRecord site, LONG lineValue) {
  site.lineValue = lineValue;
  return site;
}

}  // namespace Site

ProcedureDescriptor DescribeProcedure(const char* name, ReturnKind kind,
                                      std::initializer_list<SiteRecord> sites) {
  ProcedureDescriptor descriptor;
  descriptor.name = name;
  descriptor.returnKind = kind;
  if (sites.size() == 0) return descriptor;
  SiteTableBuilder builder;
  for (const SiteRecord& site : sites)
    builder.add(site);
  descriptor.siteTable = builder.build();
  return descriptor;
}

}  // namespace rt
