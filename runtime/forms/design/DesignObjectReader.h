// Walks the object tree of one design record, depth-first.
//
// Record: magic 0x01CF51BA, the record length (counted from the magic; it
// bounds every later read), then the root object. Each object: class
// identifier, events flag, the event interface identifier if the flag is
// set, the 4-byte length of its property block and the block, the 2-byte
// child count and the children, each encoded the same way.
//
// The walker hands each object to a visitor as soon as its header is read,
// before its children, so a failure part-way leaves the objects visited so
// far in place (the form goes on with them).
#pragma once

#include <cstdint>
#include <span>

#include "platform/types.h"
#include "runtime/forms/design/DesignReader.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {

// Objects nest no deeper than this (a form, frames in frames, controls).
inline constexpr int kMaxObjectNesting = 64;

struct DesignObjectHeader {
  CLSID clsid{};
  bool hasEvents = false;
  IID events{};
  std::span<const uint8_t> properties;  // the property block
  uint16_t childCount = 0;
  int depth = 0;  // 0 for the root
};

class DesignObjectVisitor {
 public:
  virtual ~DesignObjectVisitor() = default;
  // An object's header was read; its children follow. A failing status
  // stops the walk.
  virtual HRESULT enterObject(const DesignObjectHeader& header) = 0;
  // After the object's last child.
  virtual void leaveObject(const DesignObjectHeader& header) { (void)header; }
};

class DesignObjectReader {
 public:
  // Walks the record; E_FAIL for a bad magic or length or a short read, or
  // the visitor's failing status.
  static HRESULT Walk(std::span<const uint8_t> record, DesignObjectVisitor& visitor);

 private:
  static HRESULT readObject(DesignReader& reader, int depth, DesignObjectVisitor& visitor);
};

}  // namespace rt
