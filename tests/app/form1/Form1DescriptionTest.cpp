// Form1's form description compiled against the classes' design layouts:
// every object of the design in order, with the events of the handled
// members connected (one object per member slot of the compiled form).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "app/form1/Form1Form.h"
#include "runtime/controls/extender/ActiveXControlExtenderDesign.h"
#include "runtime/forms/design/DesignObjectReader.h"
#include "runtime/forms/design/DesignTable.h"
#include "tools/designc/Compiler.h"
#include "tools/designc/DescriptionSyntax.h"

namespace skiffwire::testing {
namespace {

struct Collect : rt::DesignObjectVisitor {
  HRESULT enterObject(const rt::DesignObjectHeader& header) override {
    objects.push_back(header);
    return S_OK;
  }
  std::vector<rt::DesignObjectHeader> objects;
};

TEST(Form1Description, CompilesIntoOneObjectPerMemberSlot) {
  rt::RegisterControlPropertyLayouts();
  rt::RegisterPropertyLayout(rt::kActiveXControlExtenderLayout);
  std::ifstream file(FORM1_DESCRIPTION);
  ASSERT_TRUE(file) << FORM1_DESCRIPTION;
  std::stringstream text;
  text << file.rdbuf();
  std::vector<uint8_t> blob;
  try {
    blob = designc::CompileDescription(text.str());
  } catch (const designc::DescriptionError& error) {
    FAIL() << "line " << error.pos.line << ": " << error.what();
  }
  rt::DesignTable table;
  ASSERT_EQ(table.install(blob), S_OK);
  Collect collect;
  ASSERT_EQ(rt::DesignObjectReader::Walk(table.record(Form1Form::kDesignIndex), collect), S_OK);
  ASSERT_EQ(collect.objects.size(), member::kCount);
  ComPtr<Form1Form> form = rt::MakeComObject<Form1Form>(nullptr);
  int handled = 0;
  for (size_t id = 0; id < collect.objects.size(); ++id) {
    const bool wanted = form->eventSinkForMember(static_cast<DISPID>(id)) != nullptr;
    EXPECT_EQ(collect.objects[id].hasEvents, wanted) << id;
    handled += wanted ? 1 : 0;
  }
  EXPECT_EQ(handled, 11);
  EXPECT_EQ(collect.objects[member::sckServer].clsid, rt::CLSID_ActiveXControlExtender);
  EXPECT_EQ(collect.objects[member::sckClient].clsid, rt::CLSID_ActiveXControlExtender);
}

}  // namespace
}  // namespace skiffwire::testing
