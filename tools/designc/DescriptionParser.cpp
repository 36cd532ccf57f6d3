#include "tools/designc/DescriptionParser.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace designc {
namespace {

bool IsIdentifierStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentifierChar(char c) {
  return IsIdentifierStart(c) || (c >= '0' && c <= '9') || c == '.';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

void DescriptionParser::fail(const std::string& reason) const {
  failAt(tokenPos_, reason);
}

void DescriptionParser::failAt(SourcePos pos, const std::string& reason) const {
  throw DescriptionError(pos, reason);
}

bool DescriptionParser::isWord(std::string_view word) const {
  return token_ == Token::Identifier && EqualsNoCase(tokenText_, word);
}

void DescriptionParser::expectPunct(char c, const char* what) {
  if (!isPunct(c)) fail(std::string("expected '") + c + "' " + what);
  next();
}

std::string DescriptionParser::expectIdentifier(const char* what) {
  if (token_ != Token::Identifier) fail(std::string("expected ") + what);
  std::string name = tokenText_;
  next();
  return name;
}

void DescriptionParser::skipBlanks() {
  while (at_ < text_.size()) {
    const char c = text_[at_];
    if (c == '\n') {
      ++at_;
      ++line_;
      column_ = 1;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++at_;
      ++column_;
    } else if (c == '#' || (c == '/' && at_ + 1 < text_.size() && text_[at_ + 1] == '/')) {
      while (at_ < text_.size() && text_[at_] != '\n')
        ++at_;
    } else {
      return;
    }
  }
}

void DescriptionParser::next() {
  skipBlanks();
  tokenPos_ = {line_, column_};
  tokenText_.clear();
  if (at_ >= text_.size()) {
    token_ = Token::End;
    return;
  }
  const char c = text_[at_];
  const auto peek = [&](size_t k) { return at_ + k < text_.size() ? text_[at_ + k] : '\0'; };
  if ((c == 'x' || c == 'X') && peek(1) == '"') {
    ++at_;
    ++column_;
    lexString();
    std::string bytes;
    if (tokenText_.size() % 2 != 0) fail("a byte literal needs two hex digits per byte");
    for (size_t i = 0; i < tokenText_.size(); i += 2) {
      const int hi = HexValue(tokenText_[i]), lo = HexValue(tokenText_[i + 1]);
      if (hi < 0 || lo < 0) fail("a byte literal holds only hex digits");
      bytes.push_back(static_cast<char>(hi * 16 + lo));
    }
    tokenText_ = std::move(bytes);
    token_ = Token::Bytes;
    return;
  }
  if (IsIdentifierStart(c)) {
    while (at_ < text_.size() && IsIdentifierChar(text_[at_])) {
      tokenText_.push_back(text_[at_++]);
      ++column_;
    }
    token_ = Token::Identifier;
    return;
  }
  if (IsDigit(c) || c == '-' || c == '&') {
    lexNumber();
    return;
  }
  if (c == '"') {
    lexString();
    token_ = Token::String;
    return;
  }
  if (c == '{' && HexValue(peek(1)) >= 0 && peek(9) == '-') {
    lexGuid();
    return;
  }
  if (std::string_view("{}[]()=;,:").find(c) != std::string_view::npos) {
    tokenText_ = std::string(1, c);
    ++at_;
    ++column_;
    token_ = Token::Punct;
    return;
  }
  fail(std::string("unexpected character '") + c + "'");
}

void DescriptionParser::lexNumber() {
  const size_t start = at_;
  bool negative = false;
  if (text_[at_] == '-') {
    negative = true;
    ++at_;
  }
  const bool hex = (at_ + 1 < text_.size()) &&
                   ((text_[at_] == '&' && (text_[at_ + 1] == 'H' || text_[at_ + 1] == 'h')) ||
                    (text_[at_] == '0' && (text_[at_ + 1] == 'x' || text_[at_ + 1] == 'X')));
  if (hex) {
    at_ += 2;
    uint64_t value = 0;
    int digits = 0;
    while (at_ < text_.size() && HexValue(text_[at_]) >= 0) {
      value = value * 16 + static_cast<uint64_t>(HexValue(text_[at_++]));
      if (++digits > 16) fail("hex number too long");
    }
    if (digits == 0) fail("expected hex digits");
    column_ += static_cast<int>(at_ - start);
    integer_ = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    token_ = Token::Integer;
    return;
  }
  bool isFloat = false;
  while (at_ < text_.size()) {
    const char c = text_[at_];
    if (IsDigit(c)) {
      ++at_;
    } else if (c == '.' || c == 'e' || c == 'E') {
      isFloat = true;
      ++at_;
      if ((c == 'e' || c == 'E') && at_ < text_.size() &&
          (text_[at_] == '-' || text_[at_] == '+')) {
        ++at_;
      }
    } else {
      break;
    }
  }
  const std::string literal(text_.substr(start, at_ - start));
  column_ += static_cast<int>(at_ - start);
  if (literal == "-") fail("expected a number after '-'");
  errno = 0;
  char* end = nullptr;
  if (isFloat) {
    number_ = std::strtod(literal.c_str(), &end);
    token_ = Token::Number;
  } else {
    integer_ = std::strtoll(literal.c_str(), &end, 10);
    token_ = Token::Integer;
  }
  if (errno == ERANGE || *end != '\0') fail("malformed number '" + literal + "'");
}

void DescriptionParser::lexString() {
  ++at_;  // the opening quote
  ++column_;
  while (true) {
    if (at_ >= text_.size() || text_[at_] == '\n') fail("unterminated string");
    char c = text_[at_++];
    ++column_;
    if (c == '"') return;
    if (c != '\\') {
      tokenText_.push_back(c);
      continue;
    }
    if (at_ >= text_.size()) fail("unterminated string");
    c = text_[at_++];
    ++column_;
    switch (c) {
      case 'n':
        tokenText_.push_back('\n');
        break;
      case 'r':
        tokenText_.push_back('\r');
        break;
      case 't':
        tokenText_.push_back('\t');
        break;
      case '"':
      case '\\':
        tokenText_.push_back(c);
        break;
      case 'x': {
        const int hi = at_ < text_.size() ? HexValue(text_[at_]) : -1;
        const int lo = at_ + 1 < text_.size() ? HexValue(text_[at_ + 1]) : -1;
        if (hi < 0 || lo < 0) fail("\\x needs two hex digits");
        tokenText_.push_back(static_cast<char>(hi * 16 + lo));
        at_ += 2;
        column_ += 2;
        break;
      }
      default:
        fail(std::string("unknown escape '\\") + c + "'");
    }
  }
}

void DescriptionParser::lexGuid() {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  constexpr size_t kLength = 38;
  if (at_ + kLength > text_.size() || text_[at_ + kLength - 1] != '}') {
    fail("malformed class or interface identifier");
  }
  const std::string_view body = text_.substr(at_ + 1, 36);
  uint8_t bytes[16] = {};
  size_t digit = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash) {
      if (body[i] != '-') fail("malformed class or interface identifier");
      continue;
    }
    const int v = HexValue(body[i]);
    if (v < 0) fail("malformed class or interface identifier");
    bytes[digit / 2] = static_cast<uint8_t>(bytes[digit / 2] * 16 + v);
    ++digit;
  }
  guid_.Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                (uint32_t{bytes[2]} << 8) | bytes[3];
  guid_.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
  guid_.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i)
    guid_.Data4[i] = bytes[8 + i];
  at_ += kLength;
  column_ += static_cast<int>(kLength);
  token_ = Token::Guid;
}

Description DescriptionParser::parse() {
  Description description;
  next();
  while (token_ != Token::End)
    description.forms.push_back(parseForm());
  return description;
}

FormNode DescriptionParser::parseForm() {
  FormNode form;
  form.pos = tokenPos_;
  if (!isWord("form")) fail("expected 'form' and a form index");
  next();
  if (token_ != Token::Integer) fail("expected the form index after 'form'");
  form.index = integer_;
  next();
  form.root = parseObject(false);
  return form;
}

ObjectNode DescriptionParser::parseObject(bool embedded) {
  ObjectNode node;
  node.pos = tokenPos_;
  node.className = expectIdentifier(embedded ? "a class name" : "a class name and an object name");
  if (!embedded) node.name = expectIdentifier("an object name after the class name");
  if (!embedded) parseArrayIndex(node);
  parseObjectHead(node, embedded);
  parseBody(node, !embedded);
  return node;
}

void DescriptionParser::parseArrayIndex(ObjectNode& node) {
  if (!isPunct('(')) return;
  next();
  if (token_ != Token::Integer || integer_ < 0 || integer_ > 32767) {
    fail("expected a control array index (0 to 32767)");
  }
  node.index = integer_;
  next();
  expectPunct(')', "after the control array index");
}

void DescriptionParser::parseObjectHead(ObjectNode& node, bool embedded) {
  if (!isWord("events")) return;
  node.events = true;
  next();
  if (token_ == Token::Guid) {
    node.explicitEvents = true;
    node.eventsIid = guid_;
    next();
  }
  if (!embedded) return;
  if (!isWord("member")) fail("expected 'member' and the form's member id after the events");
  next();
  if (token_ != Token::Integer || integer_ < 0) fail("expected a member id (0 or more)");
  node.member = integer_;
  next();
}

void DescriptionParser::parseBody(ObjectNode& node, bool allowChildren) {
  expectPunct('{', "to open the object's body");
  while (!isPunct('}')) {
    if (token_ == Token::End) fail("missing '}' at the end of the object");
    const SourcePos pos = tokenPos_;
    const std::string first = expectIdentifier("a property assignment or a child object");
    if (isPunct('=')) {
      next();
      Assignment assignment{first, pos, parseValue()};
      expectPunct(';', "after the value");
      node.properties.push_back(std::move(assignment));
      continue;
    }
    if (!allowChildren) failAt(pos, "an embedded object holds no child objects");
    if (token_ != Token::Identifier) fail("expected '=' or an object name after '" + first + "'");
    ObjectNode child;
    child.pos = pos;
    child.className = first;
    child.name = expectIdentifier("an object name");
    parseArrayIndex(child);
    parseObjectHead(child, false);
    parseBody(child, true);
    node.children.push_back(std::move(child));
  }
  next();
}

Value DescriptionParser::parseValue() {
  Value value;
  value.pos = tokenPos_;
  switch (token_) {
    case Token::Integer:
      value.type = Value::Type::Integer;
      value.integer = integer_;
      next();
      return value;
    case Token::Number:
      value.type = Value::Type::Number;
      value.number = number_;
      next();
      return value;
    case Token::String:
      value.type = Value::Type::String;
      value.text = tokenText_;
      next();
      return value;
    case Token::Bytes:
      value.type = Value::Type::Bytes;
      value.text = tokenText_;
      next();
      return value;
    case Token::Punct:
      if (isPunct('[')) return parseArray();
      fail("expected a value");
    case Token::Identifier:
      break;
    case Token::End:
    case Token::Guid:
      fail("expected a value");
  }
  if (isWord("True") || isWord("False")) {
    value.type = Value::Type::Boolean;
    value.boolean = isWord("True");
    next();
    return value;
  }
  const std::pair<const char*, Value::Type> words[] = {{"Null", Value::Type::Null},
                                                       {"Nothing", Value::Type::Nothing},
                                                       {"Empty", Value::Type::Empty}};
  for (const auto& [word, type] : words) {
    if (isWord(word)) {
      value.type = type;
      next();
      return value;
    }
  }
  if (isWord("raw") || isWord("persisted")) {
    const bool raw = isWord("raw");
    next();
    if (token_ != (raw ? Token::String : Token::Bytes)) {
      fail(raw ? "expected a string after 'raw'" : "expected x\"...\" bytes after 'persisted'");
    }
    value.type = raw ? Value::Type::RawString : Value::Type::Persisted;
    value.text = tokenText_;
    next();
    return value;
  }
  if (isWord("hosted")) return parseHosted();
  value.type = Value::Type::Object;
  value.object = std::make_shared<ObjectNode>(parseObject(true));
  return value;
}

Value DescriptionParser::parseArray() {
  Value value;
  value.pos = tokenPos_;
  value.type = Value::Type::Array;
  next();
  while (!isPunct(']')) {
    value.elements.push_back(parseValue());
    if (isPunct(',')) {
      next();
    } else if (!isPunct(']')) {
      fail("expected ',' or ']' in the array");
    }
  }
  next();
  return value;
}

Value DescriptionParser::parseHosted() {
  Value value;
  value.pos = tokenPos_;
  value.type = Value::Type::Hosted;
  next();
  if (isWord("none")) {
    value.hostedMode = Value::HostedMode::NoState;
    next();
  } else if (isWord("unflagged")) {
    value.hostedMode = Value::HostedMode::Unflagged;
    next();
  }
  if (value.hostedMode != Value::HostedMode::NoState) {
    if (token_ != Token::Bytes) fail("expected the control's state as x\"...\" bytes");
    value.text = tokenText_;
    next();
  }
  expectPunct('{', "to open the named values");
  while (!isPunct('}')) {
    NamedEntry entry;
    if (token_ == Token::String) {
      entry.name = tokenText_;
      next();
    } else {
      entry.name = expectIdentifier("a value name");
    }
    if (isPunct(':')) {
      next();
      if (token_ != Token::Integer || integer_ < 0 || integer_ > 255)
        fail("expected a flag 0 to 255");
      entry.flag = static_cast<uint8_t>(integer_);
      next();
    }
    expectPunct('=', "after the value name");
    entry.value = parseValue();
    expectPunct(';', "after the value");
    value.entries.push_back(std::move(entry));
  }
  next();
  return value;
}

}  // namespace designc
