#include "app/form1/Form1.h"

#include "runtime/core/ProcedureFrame.h"

namespace skiffwire {

using namespace rt;

Form1::Form1(Form1Controls controls) : c_(std::move(controls)) {}

Form1::~Form1() = default;

HRESULT Form1::Form_Load() {
  enum Stmt : StatementIndex { kCaption, kSettings, kState };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "Form_Load", ReturnKind::Status,
      {Site::ObjectCall(kCaption), Site::ObjectCall(kSettings), Site::ObjectCall(kState)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kCaption:
        frame.check(kCaption, c_.form->put_Caption(Bstr(u"Skiffwire Ver1.0a").get()));
        return Step;
      case kSettings:
        frame.check(kSettings, LoadSettings());
        return Step;
      case kState:
        frame.check(kState, ShowConnectionState());
        return Exit;
    }
    return Exit;
  });
}

}  // namespace skiffwire
