#include "runtime/controls/Form.h"

#include <cstddef>

#include "runtime/controls/ControlIds.h"
#include "runtime/controls/LayeredAttributes.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/arrays/FormControls.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

// The form's controls collection ("Controls").
constexpr DISPID kControlsMember = 0x170;

constexpr PropertyField kFormFields[] = {
    {"Caption", PropertyKind::String, offsetof(FormDesign, caption)},
    {"BackColor", PropertyKind::Long, offsetof(FormDesign, backColor)},
    {"ForeColor", PropertyKind::Long, offsetof(FormDesign, foreColor)},
    {"BorderStyle", PropertyKind::Long, offsetof(FormDesign, borderStyle)},
    {"ControlBox", PropertyKind::Boolean, offsetof(FormDesign, controlBox)},
    {"MaxButton", PropertyKind::Boolean, offsetof(FormDesign, maxButton)},
    {"MinButton", PropertyKind::Boolean, offsetof(FormDesign, minButton)},
    {"KeyPreview", PropertyKind::Boolean, offsetof(FormDesign, keyPreview)},
    {"AutoRedraw", PropertyKind::Boolean, offsetof(FormDesign, autoRedraw)},
    {"ClipControls", PropertyKind::Boolean, offsetof(FormDesign, clipControls)},
    {"StartUpPosition", PropertyKind::Long, offsetof(FormDesign, startUpPosition)},
    {"WindowState", PropertyKind::Long, offsetof(FormDesign, windowState)},
    {"ClientLeft", PropertyKind::Double, offsetof(FormDesign, clientLeft)},
    {"ClientTop", PropertyKind::Double, offsetof(FormDesign, clientTop)},
    {"ClientWidth", PropertyKind::Double, offsetof(FormDesign, clientWidth)},
    {"ClientHeight", PropertyKind::Double, offsetof(FormDesign, clientHeight)},
    {"Opacity", PropertyKind::Double, offsetof(FormDesign, opacity)},
    {"TransparencyKey", PropertyKind::Long, offsetof(FormDesign, transparencyKey)},
};

// Twips of the design per pixel at 96 dots per inch.
constexpr double kTwipsPerPixel = 15.0;

double& PlacementValue(ControlRecord& child, EngineContainer::Edge edge) {
  switch (edge) {
    case EngineContainer::Edge::Left:
      return child.placement.left;
    case EngineContainer::Edge::Top:
      return child.placement.top;
    case EngineContainer::Edge::Width:
      return child.placement.width;
    case EngineContainer::Edge::Height:
      return child.placement.height;
  }
  return child.placement.left;
}

int ToPixels(double value, double origin, double factor, int dpi) {
  if (factor == 0) factor = 15;
  double pixels = (value - origin) / factor;
  if (dpi != 96) pixels = pixels * dpi / 96.0;
  return RoundLayout(pixels);
}

}  // namespace

const PropertyLayout kFormLayout{"Form", CLSID_Form, sizeof(FormDesign), kFormFields,
                                 skiffwire::DIID_FormEvents};

RECT ChildPixelRect(const ControlRecord& child) {
  const Scale& scale = child.outerScale;
  const int dpi = child.form ? child.form->dpi : child.placement.formDpi;
  RECT rect{};
  rect.left = ToPixels(child.placement.left, scale.originX, scale.factorX, dpi);
  rect.top = ToPixels(child.placement.top, scale.originY, scale.factorY, dpi);
  rect.right = rect.left + ToPixels(child.placement.width, 0, scale.factorX, dpi);
  rect.bottom = rect.top + ToPixels(child.placement.height, 0, scale.factorY, dpi);
  return rect;
}

void ApplyChildPlacement(ControlRecord& child, HWND parent, const RECT& oldRect) {
  const RECT rect = ChildPixelRect(child);
  if (HWND hwnd = child.window.hwnd) {
    MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    return;
  }
  if (!parent) return;
  InvalidateRect(parent, &oldRect, TRUE);
  InvalidateRect(parent, &rect, TRUE);
}

void Form::PaintWindowlessChildren(const ControlRecord& container, HDC dc) {
  for (ControlRecord* child : container.children) {
    if (child->removed || !child->window.className.empty()) continue;
    EngineControl* object = ObjectOf(*child);
    if (object && object->visible()) object->paintWindowless(dc);
  }
}

Form::Form()
    : ControlObject(skiffwire::DIID_FormEvents),
      baseForm_(std::make_unique<BaseForm>(dispatch())),
      graphics_(std::make_unique<GraphicsBase>()),
      dragDrop_(std::make_unique<OLEDragDropHelper>()) {}

Form::~Form() {
  DetachForm(this);
}

const ClassDescriptor& Form::descriptor() const {
  static const ClassDescriptor cls{u"Form", &InitialiseRuntimeClass, nullptr, CLSID_Form};
  return cls;
}

const MemberTable& Form::Members() {
  using T = Form;
  static const MemberTable table = [] {
    MemberTable t;
    t.property<VT_R8>(u"Left", dispid::Left, &T::getLeft, &T::putLeft);
    t.property<VT_R8>(u"Top", dispid::Top, &T::getTop, &T::putTop);
    t.property<VT_R8>(u"Width", dispid::Width, &T::getWidth, &T::putWidth);
    t.property<VT_R8>(u"Height", dispid::Height, &T::getHeight, &T::putHeight);
    t.field<VT_R8>(u"Opacity", dispid::Opacity, &T::opacity_, &T::applyLayered);
    t.field<VT_COLOUR>(u"TransparencyKey", dispid::TransparencyKey, &T::transparencyKey_,
                       &T::applyLayered);
    t.field<VT_COLOUR>(u"BackColor", dispid::BackColor, &T::backColor_, &T::applyColours);
    t.field<VT_COLOUR>(u"ForeColor", dispid::ForeColor, &T::foreColor_, &T::applyColours);
    t.object(u"Controls", kControlsMember, &T::getControls);
    t.forward(BaseForm::Members(), &T::baseForm);
    t.forward(GraphicsBase::Members(), &T::graphics);
    t.forward(OLEDragDropHelper::Members(), &T::dragDrop);
    return t;
  }();
  return table;
}

HRESULT Form::getControls(IDispatch** controls) {
  return ControlsCollectionOf(this, controls);
}

HRESULT Form::put_Caption(BSTR caption) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  return baseForm_->putCaption(caption);
}

HRESULT Form::applyLayered() {
  return ApplyLayeredAttributes(hwnd(), opacity_, transparencyKey_);
}

HRESULT Form::applyColours() {
  if (HWND h = hwnd()) InvalidateRect(h, nullptr, TRUE);
  return S_OK;
}

double Form::twipsPerPixel() {
  const FormState* state = FormStateOf(this);
  const int dpi = state && state->dpi > 0 ? state->dpi : 96;
  return 1440.0 / dpi;
}

// The form's window rectangle in screen pixels, the form loaded first.
HRESULT Form::loadedWindowRect(RECT* r) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  const HRESULT loaded = EnsureFormIsLoaded(this);
  if (FAILED(loaded)) return loaded;
  if (!hwnd() || !GetWindowRect(hwnd(), r))
    return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  return S_OK;
}

HRESULT Form::outerEdge(int edge, DOUBLE* value) {
  if (!value) return E_POINTER;
  RECT r{};
  if (const HRESULT hr = loadedWindowRect(&r); FAILED(hr)) return hr;
  const LONG pixels[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  *value = pixels[edge] * twipsPerPixel();
  return S_OK;
}

HRESULT Form::setOuterEdge(int edge, DOUBLE value) {
  RECT r{};
  if (const HRESULT hr = loadedWindowRect(&r); FAILED(hr)) return hr;
  LONG bounds[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  const double pixels = value / twipsPerPixel();
  // A size below zero is not a size.
  if (edge >= 2 && pixels < 0) return SetErrorFromStatus(ErrorStatus(err::InvalidPropertyValue));
  bounds[edge] = RoundLayout(pixels);
  SetWindowPos(hwnd(), nullptr, bounds[0], bounds[1], bounds[2], bounds[3],
               SWP_NOZORDER | SWP_NOACTIVATE);
  return S_OK;
}

HRESULT Form::fillWindowRecord(WindowRecord& record) {
  record.className = graphics_->autoRedraw_ ? u"BrammelFormDC" : u"BrammelForm";
  if (record.text.empty()) record.text = designCaption_.view();
  record.style = graphics_->clipControls_ ? WS_CLIPCHILDREN : 0;
  record.exStyle = 0;
  record.allowsFocus = false;
  baseForm_->mdiChild_ = (record.flags & wflag::MdiChildForm) != 0;
  RemoveEventSink(record, this);
  AddEventSink(record, this);
  return S_OK;
}

HRESULT Form::readDesign(PropertyReader& reader) {
  FormDesign design;
  const HRESULT status = reader.readInto(&design, kFormLayout);
  if (FAILED(status)) return status;
  designCaption_ = design.caption;
  backColor_ = design.backColor;
  foreColor_ = design.foreColor;
  opacity_ = design.opacity;
  transparencyKey_ = design.transparencyKey;
  graphics_->autoRedraw_ = design.autoRedraw;
  graphics_->clipControls_ = design.clipControls;
  baseForm_->borderStyle_ = static_cast<SHORT>(design.borderStyle);
  baseForm_->controlBox_ = design.controlBox;
  baseForm_->maxButton_ = design.maxButton;
  baseForm_->minButton_ = design.minButton;
  baseForm_->keyPreview_ = design.keyPreview;
  baseForm_->startUpPosition_ = static_cast<SHORT>(design.startUpPosition);
  baseForm_->windowState_ = static_cast<SHORT>(design.windowState);
  settings_.left = design.clientLeft / kTwipsPerPixel;
  settings_.top = design.clientTop / kTwipsPerPixel;
  settings_.clientWidth = design.clientWidth / kTwipsPerPixel;
  settings_.clientHeight = design.clientHeight / kTwipsPerPixel;
  return S_OK;
}

void Form::afterCreate(HWND) {
  applyLayered();
}

// The engine creates the form's window itself (no afterCreate for the form):
// the layered attributes go on before Load runs.
void Form::postLoad() {
  applyLayered();
  raise(form_event::Load);
}

void Form::windowGone() {}

void Form::terminate() {
  if (ControlRecord* own = record()) RemoveEventSink(own->window, this);
  ControlObject::terminate();
}

void Form::formSettings(FormSettings& settings) {
  FormSettings filled = settings_;
  baseForm_->fillSettings(filled);
  settings = filled;
}

HRESULT Form::beforeUnload(int mode, SHORT* cancel) {
  *cancel = 0;
  Variant cancelArgument;
  cancelArgument.vt = VT_BYREF | VT_I2;
  cancelArgument.piVal = cancel;
  VARIANT args[] = {cancelArgument, Variant::I2(static_cast<SHORT>(mode))};
  const HRESULT status = raise(form_event::BeforeUnload, args);
  cancelArgument.vt = VT_EMPTY;  // borrowed
  return status;
}

void Form::unloading(SHORT* cancel) {
  Variant cancelArgument;
  cancelArgument.vt = VT_BYREF | VT_I2;
  cancelArgument.piVal = cancel;
  VARIANT args[] = {cancelArgument};
  raise(form_event::Unloading, args);
  cancelArgument.vt = VT_EMPTY;
  if (*cancel) return;
  // The form listens to its own window only while it is loaded, so its record
  // does not keep the form alive after the close (the next load adds it again).
  if (ControlRecord* own = record()) RemoveEventSink(own->window, this);
}

void Form::paint(HDC dc) {
  COLORREF back = 0;
  if (FAILED(TranslateColor(static_cast<OLE_COLOR>(backColor_), &back))) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  HBRUSH brush = CreateSolidBrush(back);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
}

bool Form::onMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
  const ControlRecord* own = record();
  if (!own || !hwnd()) return false;
  switch (msg) {
    case WM_ERASEBKGND:
      paint(reinterpret_cast<HDC>(wParam));
      *result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(hwnd(), &ps);
      if (ps.fErase) paint(dc);
      PaintWindowlessChildren(*own, dc);
      EndPaint(hwnd(), &ps);
      *result = 0;
      return true;
    }
    default:
      return false;
  }
}

HRESULT Form::childValue(ControlRecord& child, Edge edge, double* value) {
  return ChildEdgeValue(child, edge, value);
}

HRESULT Form::setChildValue(ControlRecord& child, Edge edge, double value) {
  return SetChildEdgeValue(child, edge, value, childParentWindow());
}

HRESULT ChildEdgeValue(ControlRecord& child, EngineContainer::Edge edge, double* value) {
  if (!value) return E_POINTER;
  *value = PlacementValue(child, edge);
  return S_OK;
}

HRESULT SetChildEdgeValue(ControlRecord& child, EngineContainer::Edge edge, double value,
                          HWND parent) {
  const RECT old = ChildPixelRect(child);
  PlacementValue(child, edge) = value;
  ApplyChildPlacement(child, parent, old);
  return S_OK;
}

}  // namespace rt
