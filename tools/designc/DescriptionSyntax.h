// The syntax tree of a form description (see docs/designs.md).
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/types.h"

namespace designc {

struct SourcePos {
  int line = 1;
  int column = 1;
};

// A mistake in a description, at the place it was found.
class DescriptionError : public std::runtime_error {
 public:
  DescriptionError(SourcePos pos, const std::string& reason)
      : std::runtime_error(reason), pos(pos) {}
  SourcePos pos;
};

struct ObjectNode;
struct NamedEntry;

struct Value {
  enum class Type {
    Integer,    // 12, -3, &HFF, 0x8000000F
    Number,     // 1.5, 2e3
    String,     // "text"
    RawString,  // raw "text": the bytes as they are
    Boolean,    // True, False
    Null,       // Null: the null string
    Nothing,    // Nothing: no object
    Empty,      // Empty: fills nothing, the member keeps its default
    Bytes,      // x"0A0B"
    Persisted,  // persisted x"...": an object stored as bytes
    Array,      // [v, v, ...]
    Object,     // ClassName [events {IID} member N] { ... }
    Hosted,     // hosted [none | unflagged] [x"..."] { Name[:flag] = v; ... }
  };
  enum class HostedMode { Flagged, NoState, Unflagged };

  Type type = Type::Empty;
  SourcePos pos;
  int64_t integer = 0;
  double number = 0;
  bool boolean = false;
  std::string text;  // String, RawString, Bytes, Persisted, hosted state bytes
  std::vector<Value> elements;
  std::shared_ptr<ObjectNode> object;
  HostedMode hostedMode = HostedMode::Flagged;
  std::vector<NamedEntry> entries;
};

struct NamedEntry {
  std::string name;
  uint8_t flag = 0;
  Value value;
};

struct Assignment {
  std::string name;
  SourcePos pos;
  Value value;
};

struct ObjectNode {
  std::string className;
  std::string name;  // empty for embedded objects
  SourcePos pos;
  bool events = false;
  bool explicitEvents = false;  // the interface was written out
  GUID eventsIid{};
  int64_t member = -1;  // embedded objects with events: the form's member id
  int64_t index = -1;   // an element of a control array: `Label lblTitle(3) { ... }`
  std::vector<Assignment> properties;
  std::vector<ObjectNode> children;
};

struct FormNode {
  int64_t index = 0;
  SourcePos pos;
  ObjectNode root;
};

struct Description {
  std::vector<FormNode> forms;
};

}  // namespace designc
