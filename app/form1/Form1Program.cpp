#include "app/form1/Form1Program.h"

#include "app/members/IYield.h"
#include "runtime/controls/ControlClasses.h"
#include "runtime/forms/MessagePump.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/FormDesignLoader.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace skiffwire {
namespace designs {
// Generated from Form1.frm.
extern const unsigned char kFormDesigns[];
extern const std::size_t kFormDesignsSize;
}  // namespace designs

std::span<const BYTE> ProgramDesign() {
  return {designs::kFormDesigns, designs::kFormDesignsSize};
}

void PrepareFormsEngine() {
  rt::SetClassTable(rt::ControlClassTable());
  // The design reader finds each class's property layout here (a control
  // array's elements are told apart by the Name and Index they store).
  rt::RegisterControlPropertyLayouts();
  rt::InstallDesignHooks();
}

HRESULT CreateForm1(ComPtr<Form1Form>& out) {
  out.Reset();
  ComPtr<IUnknown> yieldObject;
  HRESULT hr = rt::CreateYieldObject(yieldObject.ReleaseAndGetAddressOf());
  if (FAILED(hr)) return hr;
  ComPtr<IYield> runtime;
  hr = yieldObject.As(runtime);
  if (FAILED(hr)) return hr;
  return CreateForm1(out, std::move(runtime));
}

HRESULT CreateForm1(ComPtr<Form1Form>& out, ComPtr<IYield> runtime) {
  out.Reset();
  ComPtr<Form1Form> form = rt::MakeComObject<Form1Form>(std::move(runtime));
  HRESULT hr = rt::LoadFormDesign(*form);
  if (FAILED(hr)) return hr;
  hr = form->bind();
  if (FAILED(hr)) {
    rt::DisconnectFormDesign(*form);
    return hr;
  }
  out = std::move(form);
  return S_OK;
}

HRESULT CreateForm1StartupObject(IUnknown** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  ComPtr<Form1Form> form;
  const HRESULT hr = CreateForm1(form);
  if (FAILED(hr)) return hr;
  *object = static_cast<IDispatch*>(form.Detach());
  return S_OK;
}

rt::ProgramImage Program() {
  rt::ProgramImage program;
  const std::span<const BYTE> design = ProgramDesign();
  program.design = design.data();
  program.designSize = design.size();
  program.startFormsEngine = [](const BYTE* blob, size_t size) {
    PrepareFormsEngine();
    return rt::StartFormsEngine(blob, size);
  };
  program.runMainLoop = &rt::RunMainLoop;
  program.createStartupObject = &CreateForm1StartupObject;
  return program;
}

}  // namespace skiffwire
