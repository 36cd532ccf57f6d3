// Reading a form design the size of the application's main form: 7 frames
// of 6 controls, a timer and the form itself, each with a caption, a name, a
// colour, a position and an embedded font.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/DesignBlob.h"
#include "runtime/forms/design/DesignObjectReader.h"
#include "runtime/forms/design/DesignTable.h"
#include "runtime/forms/design/PropertyReader.h"
#include "tests/runtime/forms/design/DesignTestClasses.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& out, const void* p, size_t n) {
  const auto* b = static_cast<const uint8_t*>(p);
  out.insert(out.end(), b, b + n);
}
void PutU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutText(Bytes& out, const std::string& text) {
  out.push_back(0xF3);
  out.push_back(static_cast<uint8_t>(text.size()));
  Put(out, text.data(), text.size());
}

Bytes Block(const std::string& caption, const std::string& name) {
  Bytes b = {0xF1, 5, 0xFD, 8, 0x03, 0x0F, 0, 0, 0x80, 0xFD, 4, 0x05};
  const double left = 120;
  Put(b, &left, 8);
  b.insert(b.end(), {0xFD, 16});
  PutText(b, caption);
  PutText(b, name);
  b.push_back(0x09);
  Put(b, &designtest::kFontClsid, 16);
  b.insert(b.end(), 16, 0);
  b.insert(b.end(), {0xF1, 3});
  PutText(b, "Arial");
  b.push_back(0x05);
  const double size = 8.25;
  Put(b, &size, 8);
  b.push_back(0xF2);
  return b;
}

Bytes Object(const std::string& caption, const std::string& name,
             const std::vector<Bytes>& children) {
  Bytes out;
  Put(out, &designtest::kSampleClsid, 16);
  out.push_back(1);
  Put(out, &designtest::kSampleEvents, 16);
  const Bytes block = Block(caption, name);
  PutU32(out, static_cast<uint32_t>(block.size()));
  out.insert(out.end(), block.begin(), block.end());
  out.push_back(static_cast<uint8_t>(children.size()));
  out.push_back(0);
  for (const Bytes& child : children)
    out.insert(out.end(), child.begin(), child.end());
  return out;
}

Bytes Form1SizedDesign() {
  std::vector<Bytes> frames;
  for (int f = 0; f < 7; ++f) {
    std::vector<Bytes> controls;
    for (int c = 0; c < 6; ++c)
      controls.push_back(Object("Caption " + std::to_string(c), "lblTitle", {}));
    frames.push_back(Object("Frame " + std::to_string(f), "fme" + std::to_string(f), controls));
  }
  frames.push_back(Object("", "tmrTimeout", {}));
  const Bytes root = Object("Skiffwire Ver1.0a", "Form1", frames);
  Bytes data;
  PutU32(data, 1);
  PutU32(data, 0);
  PutU32(data, 0x01CF51BA);
  PutU32(data, static_cast<uint32_t>(8 + root.size()));
  data.insert(data.end(), root.begin(), root.end());
  return data;
}

class DecodeAll final : public rt::DesignObjectVisitor {
 public:
  HRESULT enterObject(const rt::DesignObjectHeader& header) override {
    designtest::SampleProperties props;
    const HRESULT hr =
        rt::PropertyReader(header.properties).readInto(&props, designtest::kSampleLayout);
    ++objects;
    return hr;
  }
  int objects = 0;
};

void BM_InstallForm1Blob(benchmark::State& state) {
  Bytes blob;
  rt::DesignBlob::Pack(Form1SizedDesign(), blob);
  rt::DesignTable table;
  for (auto _ : state) {
    if (FAILED(table.install(blob))) state.SkipWithError("install failed");
    benchmark::DoNotOptimize(table.record(0).data());
  }
  state.counters["blob_bytes"] = static_cast<double>(blob.size());
}
BENCHMARK(BM_InstallForm1Blob);

void BM_ReadForm1Objects(benchmark::State& state) {
  rt::ScopedClassTable classes(designtest::kTestClassTable);
  rt::DesignTable table;
  table.installUnpacked(Form1SizedDesign());
  int objects = 0;
  for (auto _ : state) {
    DecodeAll decoder;
    if (FAILED(rt::DesignObjectReader::Walk(table.record(0), decoder)))
      state.SkipWithError("walk failed");
    objects = decoder.objects;
  }
  state.counters["objects"] = objects;
}
BENCHMARK(BM_ReadForm1Objects);

void BM_DecodeWorkedExampleBlock(benchmark::State& state) {
  Bytes block = {0xF1, 0x05, 0xFD, 0x08, 0x03, 0x0F, 0x00, 0x00, 0x80, 0x03, 0x12,
                 0x00, 0x00, 0x80, 0xF2, 0xFD, 0x02, 0xF7, 0x01, 0xF3, 0x0A};
  for (char c : std::string("Connection"))
    block.push_back(static_cast<uint8_t>(c));
  designtest::ExampleProperties props{};
  for (auto _ : state) {
    rt::PropertyReader(block).readInto(&props, designtest::kExampleLayout);
    benchmark::DoNotOptimize(props.caption.get());
  }
}
BENCHMARK(BM_DecodeWorkedExampleBlock);

}  // namespace
