// Form-level members: showing and hiding through the forms engine, the
// window state, and the border and caption settings the engine reads when
// it builds the form's window.
#pragma once

#include <memory>

#include "runtime/controls/BaseControlRect.h"

namespace rt {

class BaseForm final : public DispatchObject {
 public:
  explicit BaseForm(IDispatch* outer);
  ~BaseForm() override;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  BaseControlRect* rectBase() { return rectBase_.get(); }
  BaseControlRect* rect() { return rectBase_.get(); }

  // Show (modal flag and owner form both optional).
  HRESULT show(SHORT modal, IUnknown* owner);
  HRESULT Show() { return show(0, nullptr); }
  HRESULT Hide();
  HRESULT getWindowState(SHORT* state);
  HRESULT putWindowState(SHORT state);
  HRESULT getCaption(BSTR* caption);
  HRESULT putCaption(BSTR caption);
  // What the engine reads to build and show the window.
  void fillSettings(FormSettings& settings) const;

  SHORT borderStyle_ = 2;
  VARIANT_BOOL controlBox_ = VARIANT_TRUE;
  VARIANT_BOOL maxButton_ = VARIANT_TRUE;
  VARIANT_BOOL minButton_ = VARIANT_TRUE;
  VARIANT_BOOL keyPreview_ = VARIANT_FALSE;
  SHORT startUpPosition_ = 0;
  SHORT windowState_ = 0;
  bool mdiChild_ = false;

 private:
  EngineControl* engineForm();

  std::unique_ptr<BaseControlRect> rectBase_;
};

}  // namespace rt
