// A class's table of member names for late-bound calls: every
// IDispatch::GetIDsOfNames of the runtime's classes answers through one.
//
// The table files each member under its SymbolKey in one of a power-of-two
// number of buckets. A lookup walks the bucket's chain in the order members
// were added, skips members that are hidden or have no dispatch identifier,
// and hands a request it cannot answer to the base class's table, if any.
//
//   SymbolTable table(16, &baseTable);
//   table.add({u"Caption", 7});
//   table.add({u"Move", 9, false, {u"Left", u"Top"}});
//   table.getIDsOfNames(names, count, ids);
//
// A table is built once per class and then only read; the base table must
// outlive the tables that name it.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com.h"
#include "runtime/forms/members/SymbolKey.h"

namespace rt {

// A member without a dispatch identifier: found by the walk but skipped.
inline constexpr DISPID kNoDispatchId = DISPID_UNKNOWN;

struct MemberEntry {
  MemberEntry(std::u16string name, DISPID dispid, bool hidden = false,
              std::vector<std::u16string> parameters = {})
      : name(std::move(name)), dispid(dispid), hidden(hidden), parameters(std::move(parameters)) {}

  std::u16string name;
  DISPID dispid = kNoDispatchId;
  bool hidden = false;
  std::vector<std::u16string> parameters;
};

class SymbolTable {
 public:
  // bucketCount is rounded up to a power of two (at least 1).
  explicit SymbolTable(size_t bucketCount = 16, const SymbolTable* base = nullptr);

  void add(MemberEntry member);
  const SymbolTable* base() const { return base_; }
  size_t bucketCount() const { return buckets_.size(); }

  // The member a name stands for (this table first, then the bases), or null.
  const MemberEntry* find(std::u16string_view name) const;
  // The dispatch identifier of a name, or kNoDispatchId.
  DISPID idOf(std::u16string_view name) const;

  // ids[0] = the dispatch identifier of names[0]; ids[k] = the position of
  // the parameter names[k] of that member, or -1. DISP_E_UNKNOWNNAME when the
  // member or one of the parameter names is unknown (ids are still filled).
  HRESULT getIDsOfNames(const LPOLESTR* names, UINT count, DISPID* ids) const;

  // Every member of this class (not of its bases), in the order added.
  const std::vector<MemberEntry>& members() const { return members_; }

 private:
  struct Slot {
    SymbolKey key;
    size_t member;  // index into members_
  };

  const MemberEntry* findHere(std::u16string_view name, SymbolKey key) const;
  size_t bucketOf(SymbolKey key) const;

  std::vector<MemberEntry> members_;
  std::vector<std::vector<Slot>> buckets_;
  const SymbolTable* base_;
};

}  // namespace rt
