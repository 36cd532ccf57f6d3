#include "runtime/forms/members/SymbolTable.h"

#include <bit>
#include <utility>

namespace rt {
namespace {

std::u16string_view ViewOfName(const OLECHAR* name) {
  return name ? std::u16string_view(name) : std::u16string_view();
}

DISPID ParameterPosition(const MemberEntry& member, std::u16string_view name) {
  for (size_t i = 0; i < member.parameters.size(); ++i) {
    if (EqualIgnoringAsciiCase(member.parameters[i], name)) return static_cast<DISPID>(i);
  }
  return -1;
}

}  // namespace

SymbolTable::SymbolTable(size_t bucketCount, const SymbolTable* base)
    : buckets_(std::bit_ceil(bucketCount == 0 ? size_t{1} : bucketCount)), base_(base) {}

size_t SymbolTable::bucketOf(SymbolKey key) const {
  return key.hashBits() & (buckets_.size() - 1);
}

void SymbolTable::add(MemberEntry member) {
  const SymbolKey key(member.name);
  buckets_[bucketOf(key)].push_back({key, members_.size()});
  members_.push_back(std::move(member));
}

const MemberEntry* SymbolTable::findHere(std::u16string_view name, SymbolKey key) const {
  for (const Slot& slot : buckets_[bucketOf(key)]) {
    if (slot.key != key) continue;
    const MemberEntry& member = members_[slot.member];
    if (!EqualIgnoringAsciiCase(member.name, name)) continue;
    // A hidden member or one without an identifier lets a later or an
    // inherited member of the same name answer.
    if (member.hidden || member.dispid == kNoDispatchId) continue;
    return &member;
  }
  return nullptr;
}

const MemberEntry* SymbolTable::find(std::u16string_view name) const {
  const SymbolKey key(name);
  for (const SymbolTable* table = this; table; table = table->base_) {
    if (const MemberEntry* member = table->findHere(name, key)) return member;
  }
  return nullptr;
}

DISPID SymbolTable::idOf(std::u16string_view name) const {
  const MemberEntry* member = find(name);
  return member ? member->dispid : kNoDispatchId;
}

HRESULT SymbolTable::getIDsOfNames(const LPOLESTR* names, UINT count, DISPID* ids) const {
  if (count == 0) return S_OK;
  if (!names || !ids) return E_POINTER;
  const MemberEntry* member = find(ViewOfName(names[0]));
  if (!member) {
    for (UINT i = 0; i < count; ++i)
      ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  ids[0] = member->dispid;
  HRESULT status = S_OK;
  for (UINT i = 1; i < count; ++i) {
    ids[i] = ParameterPosition(*member, ViewOfName(names[i]));
    if (ids[i] == -1) status = DISP_E_UNKNOWNNAME;
  }
  return status;
}

}  // namespace rt
