// Parses the text of a form description into its syntax tree.
//
//   form 0 Form Form1 events {
//     Caption = "Form1";
//     Frame fmeConnection {
//       Caption = "Connection";
//       Left = 120;
//       Label lblTitle { Caption = "IP Address :"; }
//     }
//   }
//
// Throws DescriptionError at the first mistake.
#pragma once

#include <string>
#include <string_view>

#include "tools/designc/DescriptionSyntax.h"

namespace designc {

class DescriptionParser {
 public:
  explicit DescriptionParser(std::string_view text) : text_(text) {}
  Description parse();

 private:
  enum class Token { End, Identifier, Integer, Number, String, Bytes, Guid, Punct };

  void next();
  void skipBlanks();
  [[noreturn]] void fail(const std::string& reason) const;
  [[noreturn]] void failAt(SourcePos pos, const std::string& reason) const;
  bool isPunct(char c) const { return token_ == Token::Punct && tokenText_[0] == c; }
  bool isWord(std::string_view word) const;
  void expectPunct(char c, const char* what);
  std::string expectIdentifier(const char* what);

  void lexNumber();
  void lexString();
  void lexGuid();

  FormNode parseForm();
  ObjectNode parseObject(bool embedded);
  void parseArrayIndex(ObjectNode& node);
  void parseObjectHead(ObjectNode& node, bool embedded);
  void parseBody(ObjectNode& node, bool allowChildren);
  Value parseValue();
  Value parseArray();
  Value parseHosted();

  std::string_view text_;
  size_t at_ = 0;
  int line_ = 1;
  int column_ = 1;

  Token token_ = Token::End;
  SourcePos tokenPos_;
  std::string tokenText_;  // identifier, punctuation, string contents, bytes
  int64_t integer_ = 0;
  double number_ = 0;
  GUID guid_{};
};

}  // namespace designc
