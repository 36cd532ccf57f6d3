#include "runtime/forms/members/DesignPlaceholder.h"

#include <gtest/gtest.h>

#include "platform/oleauto.h"

namespace rt {
namespace {

namespace id = placeholder_id;

DISPID IdOf(IDispatch* object, std::u16string name) {
  LPOLESTR names[] = {name.data()};
  DISPID dispid = 0;
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, 0, &dispid))) return DISPID_UNKNOWN;
  return dispid;
}

HRESULT Get(IDispatch* object, DISPID member, Variant& result, EXCEPINFO* excep = nullptr) {
  DISPPARAMS none{};
  return object->Invoke(member, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.out(), excep,
                        nullptr);
}

HRESULT Put(IDispatch* object, DISPID member, Variant value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  return object->Invoke(member, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                        nullptr);
}

constexpr const char* kRectangle =
    R"({"name":"cmdSend","left":120,"top":240.5,"width":1000,"height":375,)"
    R"("isNewlyAddedToContainer":true})";
constexpr const char* kLine = R"({"name":"linTop","x1":1,"y1":2,"x2":3,"y2":4})";

TEST(DesignPlaceholderTest, NamesDependOnTheShapeOfThePlaceholder) {
  const auto box = DesignPlaceholder::FromJson(kRectangle, nullptr);
  const auto line = DesignPlaceholder::FromJson(kLine, nullptr);
  ASSERT_TRUE(box && line);
  const struct {
    std::u16string name;
    DISPID onBox, onLine;
  } cases[] = {
      {u"Name", id::Name, id::Name},
      {u"left", id::Left, -1},
      {u"Top", id::Top, -1},
      {u"Width", id::Width, -1},
      {u"HEIGHT", id::Height, -1},
      {u"TabStop", id::TabStop, id::TabStop},
      {u"Index", id::Index, id::Index},
      {u"Container", id::Container, id::Container},
      {u"Visible", id::Visible, id::Visible},
      {u"x1", -1, id::X1},
      {u"Y1", -1, id::Y1},
      {u"X2", -1, id::X2},
      {u"Y2", -1, id::Y2},
      {u"Caption", -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    EXPECT_EQ(IdOf(box.Get(), c.name), c.onBox);
    EXPECT_EQ(IdOf(line.Get(), c.name), c.onLine);
  }
  EXPECT_TRUE(box->isNewlyAddedToContainer());
  EXPECT_FALSE(line->isNewlyAddedToContainer());
  EXPECT_TRUE(line->isLine());
}

TEST(DesignPlaceholderTest, ReadsGiveTheStoredValues) {
  const auto container = DesignPlaceholder::FromJson(kLine, nullptr);
  const auto box = DesignPlaceholder::FromJson(kRectangle, container.Get());
  Variant value;
  ASSERT_EQ(Get(box.Get(), id::Name, value), S_OK);
  EXPECT_EQ(std::u16string_view(value.bstrVal), u"cmdSend");
  for (auto [member, expected] :
       {std::pair{id::Left, 120.0}, {id::Top, 240.5}, {id::Width, 1000.0}, {id::Height, 375.0}}) {
    ASSERT_EQ(Get(box.Get(), member, value), S_OK);
    EXPECT_EQ(value.vt, VT_R8);
    EXPECT_EQ(value.dblVal, expected);
  }
  for (DISPID member : {id::TabStop, id::Visible}) {
    ASSERT_EQ(Get(box.Get(), member, value), S_OK);
    EXPECT_EQ(value.boolVal, VARIANT_TRUE);
  }
  ASSERT_EQ(Get(box.Get(), id::Container, value), S_OK);
  EXPECT_EQ(value.vt, VT_DISPATCH);
  EXPECT_EQ(value.pdispVal, static_cast<IDispatch*>(container.Get()));

  const auto line = DesignPlaceholder::FromJson(kLine, nullptr);
  ASSERT_EQ(Get(line.Get(), id::Y2, value), S_OK);
  EXPECT_EQ(value.dblVal, 4.0);
  EXPECT_EQ(Get(line.Get(), id::Left, value), DISP_E_MEMBERNOTFOUND);
}

TEST(DesignPlaceholderTest, IndexFailsWithAnException) {
  const auto box = DesignPlaceholder::FromJson(kRectangle, nullptr);
  Variant value;
  EXCEPINFO excep{};
  EXPECT_EQ(Get(box.Get(), id::Index, value, &excep), DISP_E_EXCEPTION);
  EXPECT_EQ(std::u16string_view(excep.bstrDescription), u"An Error...");
  SysFreeString(excep.bstrDescription);
}

TEST(DesignPlaceholderTest, OnlyVisibleCanBeWritten) {
  const auto box = DesignPlaceholder::FromJson(kRectangle, nullptr);
  EXPECT_EQ(Put(box.Get(), id::Visible, Variant::Bool(false)), S_OK);
  EXPECT_EQ(Put(box.Get(), id::Visible, Variant::Str(u"True")), S_OK);
  EXPECT_TRUE(FAILED(Put(box.Get(), id::Visible, Variant::Str(u"maybe"))));
  Variant value;
  ASSERT_EQ(Get(box.Get(), id::Visible, value), S_OK);
  EXPECT_EQ(value.boolVal, VARIANT_TRUE);
  EXPECT_TRUE(FAILED(Put(box.Get(), id::Left, Variant::R8(5))));
  EXPECT_TRUE(FAILED(Put(box.Get(), id::Name, Variant::Str(u"x"))));
}

TEST(DesignPlaceholderTest, RejectsTextsThatAreNotAPlaceholder) {
  for (const char* json : {"", "[]", "{", R"({"name":"a","left":1})", R"({"x1":1,"y1":2})"}) {
    EXPECT_FALSE(DesignPlaceholder::FromJson(json, nullptr)) << json;
  }
}

}  // namespace
}  // namespace rt
