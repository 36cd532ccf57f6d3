// The design compiler: every tag of the value stream written from a
// description and read back by the runtime's reader, and the compiler's
// diagnostics.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "runtime/forms/design/DesignObjectReader.h"
#include "runtime/forms/design/DesignTable.h"
#include "runtime/forms/design/DesignTestClasses.h"
#include "runtime/forms/design/PersistedBytes.h"
#include "runtime/forms/design/PropertyReader.h"
#include "tools/designc/Compiler.h"
#include "tools/designc/DescriptionSyntax.h"

namespace {

using namespace designtest;
using Bytes = std::vector<uint8_t>;

struct Collected {
  std::vector<rt::DesignObjectHeader> objects;
};

class Collector : public rt::DesignObjectVisitor {
 public:
  HRESULT enterObject(const rt::DesignObjectHeader& header) override {
    objects.push_back(header);
    return S_OK;
  }
  std::vector<rt::DesignObjectHeader> objects;
};

// Compiles a description and walks form `index` of the result.
class Compiled {
 public:
  explicit Compiled(const std::string& text, uint32_t index = 0) {
    EXPECT_EQ(table_.install(designc::CompileDescription(text)), S_OK);
    EXPECT_EQ(rt::DesignObjectReader::Walk(table_.record(index), collector_), S_OK);
  }
  const std::vector<rt::DesignObjectHeader>& objects() const { return collector_.objects; }
  Bytes block(size_t i = 0) const {
    return {objects()[i].properties.begin(), objects()[i].properties.end()};
  }

 private:
  rt::DesignTable table_;
  Collector collector_;
};

struct TagCase {
  const char* name;
  std::string assignment;
  uint8_t tag;
  std::function<bool(const SampleProperties&)> check;
};

class EveryTag : public testing::TestWithParam<TagCase> {
 protected:
  ScopedTestLayouts layouts_;
  rt::ScopedClassTable classes_{kTestClassTable};
};

TEST_P(EveryTag, RoundTripsThroughTheCompilerAndTheReader) {
  const TagCase& c = GetParam();
  const Compiled compiled("form 0 Sample s {\n  " + c.assignment + "\n}\n");
  ASSERT_EQ(compiled.objects().size(), 1u);
  const Bytes block = compiled.block();
  EXPECT_NE(std::find(block.begin(), block.end(), c.tag), block.end())
      << "tag " << std::hex << int(c.tag) << " not written";
  SampleProperties props;
  ASSERT_EQ(rt::PropertyReader(block).readInto(&props, kSampleLayout), S_OK);
  EXPECT_EQ(props.name, u"s");
  EXPECT_TRUE(c.check(props));
}

std::string Repeat(char c, size_t n) {
  return std::string(n, c);
}
std::string Numbers(int n) {
  std::string s = "[";
  for (int i = 0; i < n; ++i)
    s += (i ? ", " : "") + std::to_string(i);
  return s + "]";
}

INSTANTIATE_TEST_SUITE_P(
    Tags, EveryTag,
    testing::Values(
        TagCase{"Int16", "Integer = 1000;", 0x02, [](auto& p) { return p.integer == 1000; }},
        TagCase{"Int16Byte", "Integer = -5;", 0xF5, [](auto& p) { return p.integer == -5; }},
        TagCase{"Int16Zero", "Integer = 0;", 0xF6, [](auto& p) { return p.integer == 0; }},
        TagCase{"Int32", "Color = &H8000000F;", 0x03,
                [](auto& p) { return static_cast<uint32_t>(p.color) == 0x8000000Fu; }},
        TagCase{"Int32Byte", "Color = -3;", 0xF7, [](auto& p) { return p.color == -3; }},
        TagCase{"Int32Word", "Color = 300;", 0xF8, [](auto& p) { return p.color == 300; }},
        TagCase{"Int32Zero", "Color = 0;", 0xF9, [](auto& p) { return p.color == 0; }},
        TagCase{"Single", "Single = 1.5;", 0x04, [](auto& p) { return p.single == 1.5f; }},
        TagCase{"Double", "Left = 2.25;", 0x05, [](auto& p) { return p.left == 2.25; }},
        TagCase{"Date", "Date = 45000.5;", 0x07, [](auto& p) { return p.date == 45000.5; }},
        TagCase{"Int64", "Currency = 123456789012;", 0x14,
                [](auto& p) { return p.currency == 123456789012; }},
        TagCase{"EmptyString", "Caption = \"\";", 0x08,
                [](auto& p) { return p.caption.get() && p.caption.length() == 0; }},
        TagCase{"LongString", "Caption = \"" + Repeat('w', 300) + "\";", 0x08,
                [](auto& p) { return p.caption.length() == 300; }},
        TagCase{"ShortString", "Caption = \"Connection\";", 0xF3,
                [](auto& p) { return p.caption == u"Connection"; }},
        TagCase{"NullString", "Caption = Null;", 0xF4, [](auto& p) { return !p.caption.get(); }},
        TagCase{"RawString", "Caption = raw \"ab\";", 0xE9,
                [](auto& p) { return SysStringByteLen(p.caption.get()) == 2; }},
        TagCase{"True", "Enabled = True;", 0xF2, [](auto& p) { return p.enabled == -1; }},
        TagCase{"False", "Enabled = False;", 0x0B, [](auto& p) { return p.enabled == 0; }},
        TagCase{"Byte", "ByteValue = 200;", 0x11, [](auto& p) { return p.byteValue == 200; }},
        TagCase{"Nothing", "Enabled = Empty; Integer = 7;", 0x18,
                [](auto& p) { return p.enabled == 0 && p.integer == 7; }},
        TagCase{"NullObject", "Font = Nothing;", 0x0D, [](auto& p) { return !p.font; }},
        TagCase{"EmbeddedObject", "Font = SampleFont { Name = \"Arial\"; Size = 9.75; };", 0x09,
                [](auto& p) {
                  auto* f =
                      static_cast<SampleFont*>(static_cast<rt::IDesignStorage*>(p.font.Get()));
                  return f && f->properties.name == u"Arial" && f->properties.size == 9.75;
                }},
        TagCase{
            "EmbeddedObjectWithEvents", "Font = SampleFont events member 7 { Bold = True; };", 0xFA,
            [](auto& p) {
              auto* f = static_cast<SampleFont*>(static_cast<rt::IDesignStorage*>(p.font.Get()));
              return f && f->properties.bold == -1;
            }},
        TagCase{"PersistedObject", "Font = persisted x\"0102\";", 0xEA,
                [](auto& p) {
                  auto b = QueryInterfaceOf<rt::IPersistedBytes>(p.font.Get());
                  return b && b->bytes().size() == 2;
                }},
        TagCase{"Handle", "Handle = 5;", 0xEC, [](auto& p) { return p.handle == 5; }},
        TagCase{"ByteArray", "Bytes = x\"0a0B\";", 0xF0,
                [](auto& p) { return p.bytes && p.bytes->rgsabound[0].cElements == 2; }},
        TagCase{"ShortArray", "Numbers = [1, -2, 70000];", 0xFB,
                [](auto& p) {
                  auto* n = static_cast<int32_t*>(p.numbers->pvData);
                  return n[0] == 1 && n[1] == -2 && n[2] == 70000;
                }},
        TagCase{"Array", "Numbers = " + Numbers(300) + ";", 0xFC,
                [](auto& p) {
                  return p.numbers->rgsabound[0].cElements == 300 &&
                         static_cast<int32_t*>(p.numbers->pvData)[299] == 299;
                }},
        TagCase{"HostedState", "Hosted = hosted x\"AB\" { Port : 1 = 9000; Name = \"x\"; };", 0xED,
                [](auto& p) {
                  return p.hosted.persistedFlag && p.hosted.state.size() == 1 &&
                         p.hosted.entries.size() == 2 && p.hosted.entries[0].flag == 1 &&
                         p.hosted.entries[0].value.lVal == 9000;
                }},
        TagCase{"HostedNoState", "Hosted = hosted none { On = True; };", 0xEE,
                [](auto& p) { return !p.hosted.hasState && p.hosted.entries.size() == 1; }},
        TagCase{"HostedStateNoFlag", "Hosted = hosted unflagged x\"\" { };", 0xEF,
                [](auto& p) { return p.hosted.hasState && !p.hosted.persistedFlag; }},
        TagCase{"Skip8", "Left = 1.0;", 0xFD, [](auto& p) { return p.left == 1.0; }},
        TagCase{"ShortRecord", "Integer = 1;", 0xF1, [](auto& p) { return p.integer == 1; }}),
    [](const testing::TestParamInfo<TagCase>& info) { return std::string(info.param.name); });

TEST(DesignCompiler, WideSkipsRoundTrip) {
  ScopedTestLayouts layouts;
  const Compiled compiled("form 3 Wide w { Last = 9; Middle = 8; First = 7; }", 3);
  const Bytes block = compiled.block();
  EXPECT_NE(std::find(block.begin(), block.end(), 0xFE), block.end());
  EXPECT_NE(std::find(block.begin(), block.end(), 0xFF), block.end());
  auto props = std::make_unique<WideProperties>();
  ASSERT_EQ(rt::PropertyReader(block).readInto(props.get(), kWideLayout), S_OK);
  EXPECT_EQ(props->first, 7);
  EXPECT_EQ(props->middle, 8);
  EXPECT_EQ(props->last, 9);
}

// 300 one-byte fields: more members than the short record holds.
struct ManyClass {
  static constexpr int kCount = 300;
  std::vector<std::string> names;
  std::vector<PropertyField> fields;
  PropertyLayout layout{};
  ManyClass() {
    for (int i = 0; i < kCount; ++i)
      names.push_back("F" + std::to_string(i));
    for (int i = 0; i < kCount; ++i) {
      fields.push_back({names[i], PropertyKind::Byte, static_cast<uint32_t>(i)});
    }
    layout = {"Many", {0x99, 0, 0, {}}, kCount, fields};
  }
};

TEST(DesignCompiler, LongRecordsUseTheWideRecordTag) {
  ManyClass many;
  rt::RegisterPropertyLayout(many.layout);
  std::string text = "form 0 Many m {";
  for (int i = 0; i < ManyClass::kCount; ++i)
    text += " F" + std::to_string(i) + " = " + std::to_string(i % 256) + ";";
  text += " }";
  const Compiled compiled(text);
  rt::UnregisterPropertyLayout(many.layout.clsid);
  const Bytes block = compiled.block();
  ASSERT_GE(block.size(), 3u);
  EXPECT_EQ(block[0], 0x24);
  EXPECT_EQ(block[1] | block[2] << 8, ManyClass::kCount);
  std::vector<uint8_t> storage(ManyClass::kCount);
  uint32_t filled = 0;
  ASSERT_EQ(rt::PropertyReader(block).readInto(storage.data(), many.layout, &filled), S_OK);
  EXPECT_EQ(storage[299], 299 % 256);
  EXPECT_EQ(filled, 300u);
}

TEST(DesignCompiler, TreeIsWrittenDepthFirstWithEvents) {
  ScopedTestLayouts layouts;
  const Compiled compiled(R"(
    # a form, a frame of six, one more control
    form 0 Sample Form1 events {
      Caption = "Form1";
      Sample fmeConnection { Caption = "Connection";
        Sample c1 {} Sample c2 {} Sample c3 {} Sample c4 {} Sample c5 {} Sample c6 events {}
      }
      Sample last {}
    }
  )");
  const auto& objects = compiled.objects();
  ASSERT_EQ(objects.size(), 9u);
  EXPECT_TRUE(objects[0].hasEvents);
  EXPECT_EQ(objects[0].events, kSampleEvents);
  EXPECT_EQ(objects[0].childCount, 2);
  EXPECT_EQ(objects[1].childCount, 6);
  EXPECT_EQ(objects[1].depth, 1);
  for (int i = 2; i < 8; ++i)
    EXPECT_EQ(objects[i].depth, 2);
  EXPECT_TRUE(objects[7].hasEvents);
  EXPECT_EQ(objects[8].depth, 1);
  SampleProperties props;
  ASSERT_EQ(rt::PropertyReader(compiled.block(7)).readInto(&props, kSampleLayout), S_OK);
  EXPECT_EQ(props.name, u"c6");
}

struct Mistake {
  const char* name;
  const char* text;
  const char* diagnostic;
};

class Diagnostics : public testing::TestWithParam<Mistake> {
 protected:
  ScopedTestLayouts layouts_;
};

TEST_P(Diagnostics, NameFileLineColumnAndReason) {
  const Mistake& m = GetParam();
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  // One file per case: ctest runs the cases as parallel processes.
  const std::string stem = std::string("designc_mistake_") + m.name;
  const std::string input = (dir / (stem + ".frm")).string();
  std::ofstream(input) << m.text;
  designc::Options options{input, (dir / (stem + ".cpp")).string()};
  std::string diagnostics;
  EXPECT_EQ(designc::RunCompiler(options, diagnostics), 1);
  EXPECT_EQ(diagnostics, input + ":" + m.diagnostic + "\n");
  std::filesystem::remove(input);
}

INSTANTIATE_TEST_SUITE_P(
    ThreeKindsOfMistake, Diagnostics,
    testing::Values(Mistake{"Syntax", "form 0 Sample s {\n  Caption = \"x\"\n}\n",
                            "3:1: error: expected ';' after the value"},
                    Mistake{"UnknownProperty", "form 0 Sample s {\n  Colour = 5;\n}\n",
                            "2:3: error: class 'Sample' has no property 'Colour'"},
                    Mistake{"ValueOutOfRange", "form 0 Sample s {\n  ByteValue = 256;\n}\n",
                            "2:15: error: value 256 is out of range for Byte property ByteValue"},
                    Mistake{
                        "WrongKind", "form 0 Sample s { Caption = 5; }",
                        "1:29: error: String property Caption takes a string, raw \"...\" or Null"},
                    Mistake{"UnknownClass", "form 0 Sample s {\n  Gadget g {}\n}",
                            "2:3: error: unknown class 'Gadget'"},
                    Mistake{"SetTwice", "form 0 Sample s { Color = 1; color = 2; }",
                            "1:30: error: property 'color' is set twice"},
                    Mistake{"UnterminatedString", "form 0 Sample s { Caption = \"abc\n}",
                            "1:29: error: unterminated string"},
                    Mistake{"FormIndex", "form 8092 Sample s {}",
                            "1:1: error: form index 8092 is outside 0 to 8091"}),
    [](const testing::TestParamInfo<Mistake>& info) { return std::string(info.param.name); });

#ifdef DESIGNC_GENERATED_SOURCE
}  // namespace
namespace skiffwire::designs {
extern const unsigned char kEmptyDesigns[];
extern const std::size_t kEmptyDesignsSize;
}  // namespace skiffwire::designs
namespace {

TEST(DesignCompiler, TheBuildCompilesDescriptionsIntoTheProgram) {
  rt::DesignTable table;
  ASSERT_EQ(
      table.install({skiffwire::designs::kEmptyDesigns, skiffwire::designs::kEmptyDesignsSize}),
      S_OK);
  EXPECT_EQ(table.recordCount(), 0u);
}
#endif

#ifdef DESIGNC_PATH
TEST(DesignCompiler, TheProgramExitsWithOneOnAMistakeAndWritesSourceOtherwise) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  const std::string input = (dir / "designc_run.frm").string();
  const std::string output = (dir / "designc_run.cpp").string();
  std::ofstream(input) << "form 0 NoSuchClass x {}\n";
  const std::string command =
      std::string(DESIGNC_PATH) + " " + input + " -o " + output + " 2>/dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);

  std::ofstream(input, std::ios::trunc) << "\n";  // no forms: an empty design
  ASSERT_EQ(std::system((std::string(DESIGNC_PATH) + " " + input + " -o " + output).c_str()), 0);
  std::ifstream generated(output);
  const std::string source((std::istreambuf_iterator<char>(generated)), {});
  EXPECT_NE(source.find("const unsigned char kFormDesigns[]"), std::string::npos);
  EXPECT_NE(source.find("const std::size_t kFormDesignsSize"), std::string::npos);
  std::filesystem::remove(input);
  std::filesystem::remove(output);
}
#endif

}  // namespace
