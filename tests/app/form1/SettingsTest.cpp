// The settings file beside the executable: reading every shape of file, and
// writing it back.
#include <gtest/gtest.h>

#include <filesystem>

#include "Form1TestSupport.h"

namespace skiffwire::testing {
namespace {

constexpr std::u16string_view kNoSettings =
    u"Setting file error: Settings file not found, using defaults...";

struct Values {
  std::vector<std::u16string> texts;
  std::vector<SHORT> checks;
  bool operator==(const Values&) const = default;
};

Values Read(const TestApp& app) {
  return {{app.ui.txtIpAddress->text(), app.ui.txtPort->text(), app.ui.txtClearString->text(),
           app.ui.txtTestString->text(), app.ui.txtWaitState->text(), app.ui.txtPacketLen->text(),
           app.ui.txtTimeOut->text(), app.ui.txtRetry->text()},
          {app.ui.chkSTX->value(), app.ui.chkEOT->value(), app.ui.chkChecksum->value()}};
}

const Values kDesign = {
    {u"127.0.0.1", u"8888", u"clear", u"Hello World!", u"1", u"128", u"5000", u"3"}, {1, 1, 1}};

const std::string kEleven =
    "10.1.2.3\r\n5000\r\nCLR\r\nTEST\r\n0\r\n4\r\n250\r\n5\r\n 1 \r\n 0 \r\n 1 \r\n";
const Values kElevenValues = {{u"10.1.2.3", u"5000", u"CLR", u"TEST", u"0", u"4", u"250", u"5"},
                              {1, 0, 1}};

struct Loaded {
  Values values;
  std::vector<std::u16string> boxes;
};

Loaded LoadFile(std::optional<std::string_view> content) {
  Loaded loaded;
  OnFreshThread([&] {
    TestApp app;
    if (content) app.folder.write("Settings.txt", *content);
    app.ui.load();
    loaded = {Read(app), app.boxTexts()};
  });
  return loaded;
}

TEST(Settings, FilesOfEveryShape) {
  struct Case {
    const char* name;
    std::optional<std::string> content;
    Values values;
    bool message;
  } cases[] = {
      {"missing", std::nullopt, kDesign, true},
      {"empty", "", kDesign, false},
      {"eleven lines", kEleven, kElevenValues, false},
      {"no final line end", kEleven.substr(0, kEleven.size() - 2), kElevenValues, false},
      {"short",
       "1.1.1.1\r\n99\r\nshort",
       {{u"1.1.1.1", u"99", u"short", u"", u"", u"", u"", u""}, {0, 0, 0}},
       false},
      {"a twelfth line starts a second group",
       kEleven + "10.0.0.1\r\n",
       {{u"10.0.0.1", u"", u"", u"", u"", u"", u"", u""}, {0, 0, 0}},
       false},
      {"two full groups", kEleven + kEleven, kElevenValues, false},
      {"CR line ends",
       "a\rb\rc\rd\re\rf\rg\rh\r1\r1\r0\r",
       {{u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h"}, {1, 1, 0}},
       false},
      {"LF line ends are ordinary characters",
       "a\nb\nc\n",
       {{u"a\nb\nc\n", u"", u"", u"", u"", u"", u"", u""}, {0, 0, 0}},
       false},
      {"fractional values round to even",
       kEleven.substr(0, 41) + "1.5\r\n0.5\r\n2.5\r\n",
       {kElevenValues.texts, {2, 0, 2}},
       false},
      {"a negative value stops reading",
       kEleven.substr(0, 41) + "-1\r\n0\r\n0\r\n",
       {kElevenValues.texts, {1, 1, 1}},
       true},
      {"a value beyond 16 bits stops reading",
       kEleven.substr(0, 41) + "1\r\n99999\r\n0\r\n",
       {kElevenValues.texts, {1, 1, 1}},
       true},
      {"spaces survive",
       "  a  \r\n\t8888\t\r\n",
       {{u"  a  ", u"\t8888\t", u"", u"", u"", u"", u"", u""}, {0, 0, 0}},
       false},
  };
  ASSERT_EQ(kEleven.substr(0, 41), "10.1.2.3\r\n5000\r\nCLR\r\nTEST\r\n0\r\n4\r\n250\r\n5\r\n");
  for (const Case& c : cases) {
    Loaded loaded = LoadFile(c.content);
    EXPECT_EQ(loaded.values, c.values) << c.name;
    EXPECT_EQ(loaded.boxes, c.message ? std::vector<std::u16string>{std::u16string(kNoSettings)}
                                      : std::vector<std::u16string>{})
        << c.name;
  }
}

TEST(Settings, BinaryJunkLoadsWithoutHarm) {
  std::string junk;
  for (int i = 0; i < 4096; ++i)
    junk += static_cast<char>((i * 7919) % 256);
  Loaded loaded = LoadFile(junk);
  EXPECT_LE(loaded.boxes.size(), 1u);  // a check-box line may be refused
}

TEST(Settings, SavedSettingsLoadBackUnchanged) {
  TempFolder kept;
  std::string written;
  OnFreshThread([&] {
    TestApp app;
    app.ui.load();
    app.ui.txtIpAddress->type(u" 10.0.0.9 ");
    app.ui.txtTestString->type(u"Caf\u00E9 \u20AC");
    app.ui.chkSTX->put_Value(0);
    app.ui.chkEOT->put_Value(2);
    app.ui.cmdSaveSettings->click();
    written = app.folder.read("Settings.txt");
    kept.write("Settings.txt", written);
  });
  EXPECT_EQ(written,
            " 10.0.0.9 \r\n8888\r\nclear\r\nCaf\xE9 \x80\r\n1\r\n128\r\n5000\r\n3\r\n 0 \r\n 2 "
            "\r\n 1 \r\n");
  Loaded loaded = LoadFile(written);
  EXPECT_EQ(
      loaded.values,
      (Values{{u" 10.0.0.9 ", u"8888", u"clear", u"Caf\u00E9 \u20AC", u"1", u"128", u"5000", u"3"},
              {0, 2, 1}}));
  EXPECT_TRUE(loaded.boxes.empty());
}

TEST(Settings, AFailedSaveIsARunTimeErrorOfTheHandler) {
  OnFreshThread([] {
    TestApp app;
    app.ui.load();
    std::filesystem::create_directory(app.folder.path() + "/Settings.txt");
    app.ui.cmdSaveSettings->click();
    std::vector<std::u16string> boxes = app.boxTexts();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], u"shutdown: Run-time error '-2147467259'\r\n\r\nUnspecified error");
  });
}

}  // namespace
}  // namespace skiffwire::testing
