// The settings file: eleven lines beside the executable, read when the form
// loads and written when the operator saves.
#include <array>

#include "app/form1/Form1.h"
#include "app/form1/internal/MessageBox.h"
#include "runtime/core/AppPath.h"
#include "runtime/core/FileStatements.h"
#include "runtime/core/LineInput.h"
#include "runtime/core/PrintStatement.h"
#include "runtime/core/ProcedureFrame.h"
#include "runtime/core/Val.h"

namespace skiffwire {

using namespace rt;

namespace {

constexpr std::u16string_view kSettingsFile = u"\\Settings.txt";
constexpr int kTextLines = 8;
constexpr int kLines = 11;

HRESULT SettingsPath(Bstr* path) {
  Bstr folder;
  HRESULT hr = AppPath(folder.out());
  if (FAILED(hr)) return hr;
  *path = Bstr(std::u16string(folder.view()) + std::u16string(kSettingsFile));
  return S_OK;
}

// A check-box line: Val of the text, rounded to a 16-bit integer (ties to
// even) as the Value property takes it.
HRESULT CheckBoxValue(BSTR line, SHORT* value) {
  DOUBLE number = 0;
  HRESULT hr = ValOfText(line, &number);
  if (FAILED(hr)) return hr;
  const Variant source = Variant::R8(number);
  Variant converted;
  hr = VariantChangeTypeEx(converted.out(), &source, LOCALE_USER_DEFAULT, 0, VT_I2);
  if (FAILED(hr)) return hr;
  *value = converted.iVal;
  return S_OK;
}

// A descriptor whose first sites are `fixed` and which then has
// `sitesPerLine` sites for each of the eleven line statements from
// `firstLine` on, in the order kinds lists them.
ProcedureDescriptor DescribeWithLineSites(
    const char* name, std::initializer_list<SiteRecord> fixed, StatementIndex firstLine,
    std::initializer_list<SiteRecord (*)(StatementIndex)> kinds) {
  SiteTableBuilder builder;
  for (const SiteRecord& site : fixed)
    builder.add(site);
  for (StatementIndex line = 0; line < kLines; ++line) {
    for (auto kind : kinds)
      builder.add(kind(firstLine + line));
  }
  ProcedureDescriptor descriptor;
  descriptor.name = name;
  descriptor.returnKind = ReturnKind::Status;
  descriptor.siteTable = builder.build();
  return descriptor;
}

// Site `which` of line `line`.
SiteIndex LineSite(SiteIndex firstLineSite, int line, int sitesPerLine, int which) {
  return static_cast<SiteIndex>(firstLineSite + line * sitesPerLine + which);
}

}  // namespace

HRESULT Form1::LoadSettings() {
  enum Stmt : StatementIndex {
    kFreeFile,
    kPath,
    kTrap,
    kOpen,
    kLoopTest,
    kFirstLine,
    kLastLine = kFirstLine + kLines - 1,
    kLoopBack,
    kClose,
    kExit,
    kHandler
  };
  enum Sites : SiteIndex {
    kSiteFreeFile,
    kSitePath,
    kSiteOpen,
    kSiteEof,
    kSiteClose,
    kSiteMessage,
    kFirstLineSite  // then read, value and assign for each line statement
  };
  enum LineSites { kRead, kValue, kAssign, kSitesPerLine };
  // Each line's statement reads it and assigns it to its control.
  static const ProcedureDescriptor kDescriptor =
      DescribeWithLineSites("LoadSettings",
                            {Site::Call(kFreeFile), Site::Call(kPath), Site::Call(kOpen),
                             Site::Call(kLoopTest), Site::Call(kClose), Site::Call(kHandler)},
                            kFirstLine, {&Site::Call, &Site::Call, &Site::ObjectCall});
  const std::array<ITextBox*, kTextLines> texts = {
      c_.txtIpAddress.Get(), c_.txtPort.Get(),      c_.txtClearString.Get(), c_.txtTestString.Get(),
      c_.txtWaitState.Get(), c_.txtPacketLen.Get(), c_.txtTimeOut.Get(),     c_.txtRetry.Get()};
  const std::array<ICheckBox*, kLines - kTextLines> checks = {c_.chkSTX.Get(), c_.chkEOT.Get(),
                                                              c_.chkChecksum.Get()};
  SHORT file = 0;
  Bstr path;
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    if (s >= kFirstLine && s <= kLastLine) {
      const int line = static_cast<int>(s - kFirstLine);
      auto site = [&](int which) { return LineSite(kFirstLineSite, line, kSitesPerLine, which); };
      Bstr text;
      frame.check(site(kRead), LineInput(file, &text));
      if (line < kTextLines) {
        frame.check(site(kAssign), texts[line]->put_Text(text.get()));
        return Step;
      }
      SHORT value = 0;
      frame.check(site(kValue), CheckBoxValue(text.get(), &value));
      frame.check(site(kAssign), checks[line - kTextLines]->put_Value(value));
      return Step;
    }
    switch (s) {
      case kFreeFile: {
        const Variant missing = Variant::Missing();
        frame.check(kSiteFreeFile, FreeFileNumber(&missing, &file));
        return Step;
      }
      case kPath:
        frame.check(kSitePath, SettingsPath(&path));
        return Step;
      case kTrap:
        frame.onErrorGoTo(kHandler);
        return Step;
      case kOpen:
        frame.check(kSiteOpen, OpenForInput(path.view(), file));
        return Step;
      case kLoopTest: {
        // End of file is tested only before each group of eleven lines.
        VARIANT_BOOL atEnd = VARIANT_FALSE;
        frame.check(kSiteEof, FileEof(file, &atEnd));
        return atEnd ? GoTo(kClose) : Step;
      }
      case kLoopBack:
        return GoTo(kLoopTest);
      case kClose:
        frame.check(kSiteClose, CloseFile(file));
        return Step;
      case kExit:
        return Exit;
      case kHandler:
        frame.check(kSiteMessage,
                    internal::ShowMessage(u"Settings file not found, using defaults...",
                                          u"Setting file error"));
        return Exit;
    }
    return Exit;
  });
}

HRESULT Form1::cmdSaveSettings_Click() {
  enum Stmt : StatementIndex {
    kFreeFile,
    kPath,
    kOpen,
    kFirstLine,
    kLastLine = kFirstLine + kLines - 1,
    kClose
  };
  enum Sites : SiteIndex { kSiteFreeFile, kSitePath, kSiteOpen, kSiteClose, kFirstLineSite };
  enum LineSites { kValue, kPrint, kSitesPerLine };
  static const ProcedureDescriptor kDescriptor = DescribeWithLineSites(
      "cmdSaveSettings_Click",
      {Site::Call(kFreeFile), Site::Call(kPath), Site::Call(kOpen), Site::Call(kClose)}, kFirstLine,
      {&Site::ObjectCall, &Site::Call});
  const std::array<ITextBox*, kTextLines> texts = {
      c_.txtIpAddress.Get(), c_.txtPort.Get(),      c_.txtClearString.Get(), c_.txtTestString.Get(),
      c_.txtWaitState.Get(), c_.txtPacketLen.Get(), c_.txtTimeOut.Get(),     c_.txtRetry.Get()};
  const std::array<ICheckBox*, kLines - kTextLines> checks = {c_.chkSTX.Get(), c_.chkEOT.Get(),
                                                              c_.chkChecksum.Get()};
  SHORT file = 0;
  Bstr path;
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    if (s >= kFirstLine && s <= kLastLine) {
      const int line = static_cast<int>(s - kFirstLine);
      auto site = [&](int which) { return LineSite(kFirstLineSite, line, kSitesPerLine, which); };
      if (line < kTextLines) {
        Bstr text;
        frame.check(site(kValue), texts[line]->get_Text(text.out()));
        frame.check(site(kPrint), PrintLine(file, Variant::AdoptBstr(text.release())));
        return Step;
      }
      SHORT value = 0;
      frame.check(site(kValue), checks[line - kTextLines]->get_Value(&value));
      frame.check(site(kPrint), PrintLine(file, Variant::I2(value)));
      return Step;
    }
    switch (s) {
      case kFreeFile: {
        const Variant missing = Variant::Missing();
        frame.check(kSiteFreeFile, FreeFileNumber(&missing, &file));
        return Step;
      }
      case kPath:
        frame.check(kSitePath, SettingsPath(&path));
        return Step;
      case kOpen:
        frame.check(kSiteOpen, OpenForOutput(path.view(), file));
        return Step;
      case kClose:
        frame.check(kSiteClose, CloseFile(file));
        return Exit;
    }
    return Exit;
  });
}

}  // namespace skiffwire
