// Encodes a parsed form description into unpacked design data: the record
// count, then per form its index and its design record (magic, length, the
// object tree with each object's property block as a value stream).
//
// Property blocks are encoded against the classes' PropertyLayouts: the
// assigned fields in offset order, a skip tag before each field that does
// not follow the previous one directly, each value with the shortest tag
// that holds it. Throws DescriptionError for anything that does not fit.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/forms/design/PropertyLayout.h"
#include "tools/designc/DescriptionSyntax.h"

namespace designc {

class DesignEncoder {
 public:
  std::vector<uint8_t> encode(const Description& description);

  // One object's property block (tests).
  std::vector<uint8_t> encodeProperties(const ObjectNode& node, const rt::PropertyLayout& layout);

 private:
  void encodeObject(const ObjectNode& node, int depth);
  void encodeValue(const Value& value, const rt::PropertyField& field, std::vector<uint8_t>& out);
  void encodeVariant(const Value& value, std::vector<uint8_t>& out);
  void encodeArray(const Value& value, VARTYPE elementType, std::vector<uint8_t>& out);
  void encodeEmbedded(const Value& value, std::vector<uint8_t>& out);
  void encodeHosted(const Value& value, std::vector<uint8_t>& out);
  const rt::PropertyLayout& layoutOf(const ObjectNode& node) const;
  // The elements of a control array share their name: one class, distinct
  // indexes, and no plain control of that name beside them.
  void checkName(const ObjectNode& node);

  struct NameUse {
    std::string className;
    bool array = false;
    std::set<int64_t> indexes;
  };
  std::vector<uint8_t> out_;
  std::map<std::string, NameUse> names_;  // of the form being encoded, lower case
};

}  // namespace designc
