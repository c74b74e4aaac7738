#include "gdiplus_objects/plus_brush_pen.h"

#include <functional>

#include "gdiplus_objects/plus_wrap_helpers.h"

namespace tavrel::plus {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// PlusBrush

// Nothing left to release: the brush class's destructor has disposed.
PlusBrush::~PlusBrush() = default;

void PlusBrush::StoreHandle(void* newHandle) {
  brushHandle = static_cast<GpBrush*>(newHandle);
  HandleChanged(newHandle);
}

bool PlusBrush::Dispose() { return brushHandle && DisposedWith(*this, GdipDeleteBrush(brushHandle)); }

bool PlusBrush::Clone(PlusBrush& target) const {
  return Record(GdipCloneBrush(brushHandle, NewHandleFor<GpBrush>(target)));
}

BrushType PlusBrush::GetType() const { return ValueFrom(GdipGetBrushType, brushHandle); }

// PlusSolidBrush

PlusSolidBrush::~PlusSolidBrush() { Dispose(); }

void PlusSolidBrush::HandleChanged(void* newHandle) { fillHandle = static_cast<GpSolidFill*>(newHandle); }

bool PlusSolidBrush::Create(Argb color) { return Record(GdipCreateSolidFill(color, NewHandleFor<GpSolidFill>(*this))); }

bool PlusSolidBrush::SetColor(Argb color) { return Record(GdipSetSolidFillColor(fillHandle, color)); }

Argb PlusSolidBrush::GetColor() const { return ValueFrom(GdipGetSolidFillColor, fillHandle); }

// PlusLinearGradientBrush

PlusLinearGradientBrush::~PlusLinearGradientBrush() { Dispose(); }

void PlusLinearGradientBrush::HandleChanged(void* newHandle) {
  gradientHandle = static_cast<GpLineGradient*>(newHandle);
}

bool PlusLinearGradientBrush::CreateFromPoints(const PointF& point1, const PointF& point2, Argb color1, Argb color2) {
  return Record(GdipCreateLineBrush(Packed(point1), Packed(point2), color1, color2, WrapModeTile,
                                    NewHandleFor<GpLineGradient>(*this)));
}

bool PlusLinearGradientBrush::CreateFromPointsI(const PointI& point1, const PointI& point2, Argb color1, Argb color2) {
  return Record(GdipCreateLineBrushI(Packed(point1), Packed(point2), color1, color2, WrapModeTile,
                                     NewHandleFor<GpLineGradient>(*this)));
}

bool PlusLinearGradientBrush::CreateFromRect(const RectF& rect, Argb color1, Argb color2,
                                             std::optional<LinearGradientMode> mode) {
  return Record(GdipCreateLineBrushFromRect(Packed(rect), color1, color2, mode.value_or(LinearGradientModeHorizontal),
                                            WrapModeTile, NewHandleFor<GpLineGradient>(*this)));
}

bool PlusLinearGradientBrush::CreateFromRectI(const RectI& rect, Argb color1, Argb color2,
                                              std::optional<LinearGradientMode> mode) {
  return Record(GdipCreateLineBrushFromRectI(Packed(rect), color1, color2, mode.value_or(LinearGradientModeHorizontal),
                                             WrapModeTile, NewHandleFor<GpLineGradient>(*this)));
}

bool PlusLinearGradientBrush::CreateFromRectWithAngle(const RectF& rect, Argb color1, Argb color2, float angle,
                                                      std::optional<bool> isAngleScalable) {
  return Record(GdipCreateLineBrushFromRectWithAngle(Packed(rect), color1, color2, angle,
                                                     isAngleScalable.value_or(false), WrapModeTile,
                                                     NewHandleFor<GpLineGradient>(*this)));
}

bool PlusLinearGradientBrush::CreateFromRectWithAngleI(const RectI& rect, Argb color1, Argb color2, float angle,
                                                       std::optional<bool> isAngleScalable) {
  return Record(GdipCreateLineBrushFromRectWithAngleI(Packed(rect), color1, color2, angle,
                                                      isAngleScalable.value_or(false), WrapModeTile,
                                                      NewHandleFor<GpLineGradient>(*this)));
}

bool PlusLinearGradientBrush::GetColors(Argb& color1, Argb& color2) const {
  ARGB colors[2] = {};
  const bool ok = Record(GdipGetLineColors(gradientHandle, colors));
  color1 = colors[0];
  color2 = colors[1];
  return ok;
}

bool PlusLinearGradientBrush::SetColors(Argb color1, Argb color2) {
  return Record(GdipSetLineColors(gradientHandle, color1, color2));
}

RectF PlusLinearGradientBrush::GetRect() const {
  RectF rect;
  return Record(GdipGetLineRect(gradientHandle, Packed(rect))) ? rect : RectF{};
}

RectI PlusLinearGradientBrush::GetRectI() const {
  RectI rect;
  return Record(GdipGetLineRectI(gradientHandle, Packed(rect))) ? rect : RectI{};
}

bool PlusLinearGradientBrush::SetGammaCorrection(bool useGamma) {
  return Record(GdipSetLineGammaCorrection(gradientHandle, useGamma));
}

bool PlusLinearGradientBrush::GetGammaCorrection() const {
  return ValueFrom(GdipGetLineGammaCorrection, gradientHandle) != FALSE;
}

bool PlusLinearGradientBrush::SetBlend(const std::vector<float>& factors, const std::vector<float>& positions) {
  return Record(GdipSetLineBlend(gradientHandle, Packed(factors), Packed(positions), Count(factors)));
}

INT PlusLinearGradientBrush::GetBlend(std::vector<float>& factors, std::vector<float>& positions) const {
  return ListsFrom(std::bind_front(GdipGetLineBlendCount, gradientHandle),
                   std::bind_front(GdipGetLineBlend, gradientHandle), factors, positions);
}

bool PlusLinearGradientBrush::SetPresetBlend(const std::vector<Argb>& colors, const std::vector<float>& positions) {
  return Record(GdipSetLinePresetBlend(gradientHandle, Packed(colors), Packed(positions), Count(colors)));
}

INT PlusLinearGradientBrush::GetPresetBlend(std::vector<Argb>& colors, std::vector<float>& positions) const {
  return ListsFrom(std::bind_front(GdipGetLinePresetBlendCount, gradientHandle),
                   std::bind_front(GdipGetLinePresetBlend, gradientHandle), colors, positions);
}

bool PlusLinearGradientBrush::SetSigmaBlend(float focus, float scale) {
  return Record(GdipSetLineSigmaBlend(gradientHandle, focus, scale));
}

bool PlusLinearGradientBrush::SetLinearBlend(float focus, float scale) {
  return Record(GdipSetLineLinearBlend(gradientHandle, focus, scale));
}

WrapMode PlusLinearGradientBrush::GetWrapMode() const { return ValueFrom(GdipGetLineWrapMode, gradientHandle); }

bool PlusLinearGradientBrush::SetWrapMode(WrapMode wrap) { return Record(GdipSetLineWrapMode(gradientHandle, wrap)); }

bool PlusLinearGradientBrush::GetTransform(PlusObject& target) const {
  return Record(GdipGetLineTransform(gradientHandle, HandleAs<GpMatrix>(target)));
}

bool PlusLinearGradientBrush::SetTransform(const PlusObject& matrix) {
  return Record(GdipSetLineTransform(gradientHandle, HandleAs<GpMatrix>(matrix)));
}

bool PlusLinearGradientBrush::ResetTransform() { return Record(GdipResetLineTransform(gradientHandle)); }

bool PlusLinearGradientBrush::MultiplyTransform(const PlusObject& matrix, std::optional<MatrixOrder> order) {
  return Record(
      GdipMultiplyLineTransform(gradientHandle, HandleAs<GpMatrix>(matrix), order.value_or(MatrixOrderPrepend)));
}

bool PlusLinearGradientBrush::TranslateTransform(float dx, float dy, std::optional<MatrixOrder> order) {
  return Record(GdipTranslateLineTransform(gradientHandle, dx, dy, order.value_or(MatrixOrderPrepend)));
}

bool PlusLinearGradientBrush::ScaleTransform(float sx, float sy, std::optional<MatrixOrder> order) {
  return Record(GdipScaleLineTransform(gradientHandle, sx, sy, order.value_or(MatrixOrderPrepend)));
}

bool PlusLinearGradientBrush::RotateTransform(float angle, std::optional<MatrixOrder> order) {
  return Record(GdipRotateLineTransform(gradientHandle, angle, order.value_or(MatrixOrderPrepend)));
}

// PlusPen

PlusPen::~PlusPen() { Dispose(); }

bool PlusPen::Dispose() { return penHandle && DisposedWith(*this, GdipDeletePen(penHandle)); }

bool PlusPen::Create(Argb color, float width, std::optional<Unit> unit) {
  return Record(GdipCreatePen1(color, width, unit.value_or(UnitWorld), NewHandleFor<GpPen>(*this)));
}

bool PlusPen::CreateFromBrush(const PlusBrush& brush, float width, std::optional<Unit> unit) {
  return Record(GdipCreatePen2(brush.GetHandle(), width, unit.value_or(UnitWorld), NewHandleFor<GpPen>(*this)));
}

bool PlusPen::Clone(PlusPen& target) const { return Record(GdipClonePen(penHandle, NewHandleFor<GpPen>(target))); }

float PlusPen::GetWidth() const { return ValueFrom(GdipGetPenWidth, penHandle); }

bool PlusPen::SetWidth(float width) { return Record(GdipSetPenWidth(penHandle, width)); }

Unit PlusPen::GetUnit() const { return ValueFrom(GdipGetPenUnit, penHandle); }

bool PlusPen::SetUnit(double unit) { return Record(GdipSetPenUnit(penHandle, UnitArgument(unit))); }

Unit PlusPen::UnitArgument(double unit) { return static_cast<Unit>(static_cast<INT>(unit)); }

bool PlusPen::SetLineCap(LineCap startCap, LineCap endCap, DashCap dashCap) {
  return Record(GdipSetPenLineCap197819(penHandle, startCap, endCap, dashCap));
}

bool PlusPen::SetLineCap2(LineCap startCap, LineCap endCap, DashCap dashCap) {
  return SetLineCap(startCap, endCap, dashCap);
}

bool PlusPen::SetStartCap(LineCap cap) { return Record(GdipSetPenStartCap(penHandle, cap)); }

bool PlusPen::SetEndCap(LineCap cap) { return Record(GdipSetPenEndCap(penHandle, cap)); }

bool PlusPen::SetDashCap(DashCap cap) { return Record(GdipSetPenDashCap197819(penHandle, cap)); }

LineCap PlusPen::GetStartCap() const { return ValueFrom(GdipGetPenStartCap, penHandle); }

LineCap PlusPen::GetEndCap() const { return ValueFrom(GdipGetPenEndCap, penHandle); }

DashCap PlusPen::GetDashCap() const { return ValueFrom(GdipGetPenDashCap197819, penHandle); }

DashCap PlusPen::GetDashCap2() const { return GetDashCap(); }

bool PlusPen::SetLineJoin(LineJoin join) { return Record(GdipSetPenLineJoin(penHandle, join)); }

LineJoin PlusPen::GetLineJoin() const { return ValueFrom(GdipGetPenLineJoin, penHandle); }

bool PlusPen::SetCustomStartCap(const PlusObject& cap) {
  return Record(GdipSetPenCustomStartCap(penHandle, HandleAs<GpCustomLineCap>(cap)));
}

bool PlusPen::GetCustomStartCap(PlusObject& target) const {
  return Record(GdipGetPenCustomStartCap(penHandle, NewHandleFor<GpCustomLineCap>(target)));
}

bool PlusPen::SetCustomEndCap(const PlusObject& cap) {
  return Record(GdipSetPenCustomEndCap(penHandle, HandleAs<GpCustomLineCap>(cap)));
}

bool PlusPen::GetCustomEndCap(PlusObject& target) const {
  return Record(GdipGetPenCustomEndCap(penHandle, NewHandleFor<GpCustomLineCap>(target)));
}

bool PlusPen::SetMiterLimit(float limit) { return Record(GdipSetPenMiterLimit(penHandle, limit)); }

float PlusPen::GetMiterLimit() const { return ValueFrom(GdipGetPenMiterLimit, penHandle); }

bool PlusPen::SetAlignment(PenAlignment alignment) { return Record(GdipSetPenMode(penHandle, alignment)); }

PenAlignment PlusPen::GetAlignment() const { return ValueFrom(GdipGetPenMode, penHandle); }

bool PlusPen::SetTransform(const PlusObject& matrix) {
  return Record(GdipSetPenTransform(penHandle, HandleAs<GpMatrix>(matrix)));
}

bool PlusPen::GetTransform(PlusObject& target) const {
  return Record(GdipGetPenTransform(penHandle, HandleAs<GpMatrix>(target)));
}

bool PlusPen::ResetTransform() { return Record(GdipResetPenTransform(penHandle)); }

bool PlusPen::MultiplyTransform(const PlusObject& matrix, std::optional<MatrixOrder> order) {
  return Record(GdipMultiplyPenTransform(penHandle, HandleAs<GpMatrix>(matrix), order.value_or(MatrixOrderPrepend)));
}

bool PlusPen::RotateTransform(float angle, std::optional<MatrixOrder> order) {
  return Record(GdipRotatePenTransform(penHandle, angle, order.value_or(MatrixOrderPrepend)));
}

bool PlusPen::ScaleTransform(float sx, float sy, std::optional<MatrixOrder> order) {
  return Record(GdipScalePenTransform(penHandle, sx, sy, order.value_or(MatrixOrderPrepend)));
}

bool PlusPen::TranslateTransform(float dx, float dy, std::optional<MatrixOrder> order) {
  return Record(GdipTranslatePenTransform(penHandle, dx, dy, order.value_or(MatrixOrderPrepend)));
}

Argb PlusPen::GetColor() const { return ValueFrom(GdipGetPenColor, penHandle); }

bool PlusPen::SetColor(Argb color) { return Record(GdipSetPenColor(penHandle, color)); }

bool PlusPen::SetBrush(const PlusBrush& brush) { return Record(GdipSetPenBrushFill(penHandle, brush.GetHandle())); }

bool PlusPen::GetBrush(PlusBrush& target) const {
  return Record(GdipGetPenBrushFill(penHandle, NewHandleFor<GpBrush>(target)));
}

PenType PlusPen::GetPenType() const { return ValueFrom(GdipGetPenFillType, penHandle); }

bool PlusPen::SetDashStyle(DashStyle style) { return Record(GdipSetPenDashStyle(penHandle, style)); }

DashStyle PlusPen::GetDashStyle() const { return ValueFrom(GdipGetPenDashStyle, penHandle); }

float PlusPen::GetDashOffset() const { return ValueFrom(GdipGetPenDashOffset, penHandle); }

bool PlusPen::SetDashOffset(float offset) { return Record(GdipSetPenDashOffset(penHandle, offset)); }

INT PlusPen::GetDashPattern(std::vector<float>& pattern) const {
  return ListsFrom(std::bind_front(GdipGetPenDashCount, penHandle), std::bind_front(GdipGetPenDashArray, penHandle),
                   pattern);
}

bool PlusPen::SetDashPattern(const std::vector<float>& pattern) {
  return Record(GdipSetPenDashArray(penHandle, Packed(pattern), Count(pattern)));
}

bool PlusPen::SetCompoundArray(const std::vector<float>& values) {
  return Record(GdipSetPenCompoundArray(penHandle, Packed(values), Count(values)));
}

INT PlusPen::GetCompoundArray(std::vector<float>& values) const {
  return ListsFrom(std::bind_front(GdipGetPenCompoundCount, penHandle),
                   std::bind_front(GdipGetPenCompoundArray, penHandle), values);
}

}  // namespace tavrel::plus
