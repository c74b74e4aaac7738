#include "gdiplus_objects/plus_graphics.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gdiplus_objects/plus_wrap_helpers.h"

namespace tavrel::plus {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

PlusGraphics::~PlusGraphics() { Dispose(); }

bool PlusGraphics::Created(Status status) {
  SetHandle(graphicsHandle);
  return Record(status);
}

bool PlusGraphics::Dispose() {
  if (!graphicsHandle) return false;
  const Status status = GdipDeleteGraphics(graphicsHandle);
  SetHandle(nullptr);
  return Record(status);
}

bool PlusGraphics::CreateFromHWND(HWND window, std::optional<bool> useICM) {
  return Created(useICM.value_or(false) ? GdipCreateFromHWNDICM(window, &graphicsHandle)
                                        : GdipCreateFromHWND(window, &graphicsHandle));
}

bool PlusGraphics::CreateFromHDC(HDC dc, std::optional<HANDLE> device) {
  return Created(device ? GdipCreateFromHDC2(dc, *device, &graphicsHandle) : GdipCreateFromHDC(dc, &graphicsHandle));
}

bool PlusGraphics::CreateFromImage(const PlusImage& image) {
  return Created(GdipGetImageGraphicsContext(image.GetHandle(), &graphicsHandle));
}

HDC PlusGraphics::GetHDC() {
  HDC dc = nullptr;
  return Answer(GdipGetDC(graphicsHandle, &dc), dc);
}

bool PlusGraphics::ReleaseHDC(HDC dc) { return Record(GdipReleaseDC(graphicsHandle, dc)); }

CompositingMode PlusGraphics::GetCompositingMode() {
  CompositingMode mode{};
  return Answer(GdipGetCompositingMode(graphicsHandle, &mode), mode);
}

bool PlusGraphics::SetCompositingMode(CompositingMode mode) {
  return Record(GdipSetCompositingMode(graphicsHandle, mode));
}

bool PlusGraphics::GetRenderingOrigin(INT& x, INT& y) { return Record(GdipGetRenderingOrigin(graphicsHandle, &x, &y)); }

bool PlusGraphics::SetRenderingOrigin(INT x, INT y) { return Record(GdipSetRenderingOrigin(graphicsHandle, x, y)); }

CompositingQuality PlusGraphics::GetCompositingQuality() {
  CompositingQuality quality{};
  return Answer(GdipGetCompositingQuality(graphicsHandle, &quality), quality);
}

bool PlusGraphics::SetCompositingQuality(CompositingQuality quality) {
  return Record(GdipSetCompositingQuality(graphicsHandle, quality));
}

bool PlusGraphics::SetSmoothingMode(SmoothingMode mode) { return Record(GdipSetSmoothingMode(graphicsHandle, mode)); }

SmoothingMode PlusGraphics::GetSmoothingMode() {
  SmoothingMode mode{};
  return Answer(GdipGetSmoothingMode(graphicsHandle, &mode), mode);
}

bool PlusGraphics::SetTextRenderingHint(TextRenderingHint hint) {
  return Record(GdipSetTextRenderingHint(graphicsHandle, hint));
}

TextRenderingHint PlusGraphics::GetTextRenderingHint() {
  TextRenderingHint hint{};
  return Answer(GdipGetTextRenderingHint(graphicsHandle, &hint), hint);
}

bool PlusGraphics::SetInterpolationMode(InterpolationMode mode) {
  return Record(GdipSetInterpolationMode(graphicsHandle, mode));
}

InterpolationMode PlusGraphics::GetInterpolationMode() {
  InterpolationMode mode{};
  return Answer(GdipGetInterpolationMode(graphicsHandle, &mode), mode);
}

bool PlusGraphics::SetPixelOffsetMode(PixelOffsetMode mode) {
  return Record(GdipSetPixelOffsetMode(graphicsHandle, mode));
}

PixelOffsetMode PlusGraphics::GetPixelOffsetMode() {
  PixelOffsetMode mode{};
  return Answer(GdipGetPixelOffsetMode(graphicsHandle, &mode), mode);
}

bool PlusGraphics::SetTransform(const PlusObject& matrix) {
  return Record(GdipSetWorldTransform(graphicsHandle, HandleAs<GpMatrix>(matrix)));
}

bool PlusGraphics::GetTransform(PlusObject& matrix) {
  return Record(GdipGetWorldTransform(graphicsHandle, HandleAs<GpMatrix>(matrix)));
}

bool PlusGraphics::ResetTransform() { return Record(GdipResetWorldTransform(graphicsHandle)); }

bool PlusGraphics::MultiplyTransform(const PlusObject& matrix, std::optional<MatrixOrder> order) {
  return Record(
      GdipMultiplyWorldTransform(graphicsHandle, HandleAs<GpMatrix>(matrix), order.value_or(MatrixOrderPrepend)));
}

bool PlusGraphics::TranslateTransform(float dx, float dy, std::optional<MatrixOrder> order) {
  return Record(GdipTranslateWorldTransform(graphicsHandle, dx, dy, order.value_or(MatrixOrderPrepend)));
}

bool PlusGraphics::ScaleTransform(float sx, float sy, std::optional<MatrixOrder> order) {
  return Record(GdipScaleWorldTransform(graphicsHandle, sx, sy, order.value_or(MatrixOrderPrepend)));
}

bool PlusGraphics::RotateTransform(float angle, std::optional<MatrixOrder> order) {
  return Record(GdipRotateWorldTransform(graphicsHandle, angle, order.value_or(MatrixOrderPrepend)));
}

bool PlusGraphics::SetPageUnit(Unit unit) { return Record(GdipSetPageUnit(graphicsHandle, unit)); }

Unit PlusGraphics::GetPageUnit() {
  Unit unit{};
  return Answer(GdipGetPageUnit(graphicsHandle, &unit), unit);
}

bool PlusGraphics::SetPageScale(float scale) { return Record(GdipSetPageScale(graphicsHandle, scale)); }

float PlusGraphics::GetPageScale() {
  REAL scale = 0;
  return Answer(GdipGetPageScale(graphicsHandle, &scale), scale);
}

float PlusGraphics::GetDpiX() {
  REAL dpi = 0;
  return Answer(GdipGetDpiX(graphicsHandle, &dpi), dpi);
}

float PlusGraphics::GetDpiY() {
  REAL dpi = 0;
  return Answer(GdipGetDpiY(graphicsHandle, &dpi), dpi);
}

bool PlusGraphics::TransformPoints(CoordinateSpace destination, CoordinateSpace source, std::vector<PointF>& points) {
  return Record(GdipTransformPoints(graphicsHandle, destination, source, Packed(points), Count(points)));
}

bool PlusGraphics::TransformPointsI(CoordinateSpace destination, CoordinateSpace source, std::vector<PointI>& points) {
  return Record(GdipTransformPointsI(graphicsHandle, destination, source, Packed(points), Count(points)));
}

Argb PlusGraphics::GetNearestColor(Argb color) {
  ARGB nearest = color;
  return Answer(GdipGetNearestColor(graphicsHandle, &nearest), nearest);
}

bool PlusGraphics::DrawLine(const PlusPen& pen, float x1, float y1, float x2, float y2) {
  return Record(GdipDrawLine(graphicsHandle, pen.GetHandle(), x1, y1, x2, y2));
}

bool PlusGraphics::DrawLineI(const PlusPen& pen, INT x1, INT y1, INT x2, INT y2) {
  return Record(GdipDrawLineI(graphicsHandle, pen.GetHandle(), x1, y1, x2, y2));
}

bool PlusGraphics::DrawLines(const PlusPen& pen, const std::vector<PointF>& points) {
  return Record(GdipDrawLines(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawLinesI(const PlusPen& pen, const std::vector<PointI>& points) {
  return Record(GdipDrawLinesI(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawArc(const PlusPen& pen, float x, float y, float width, float height, float startAngle,
                           float sweepAngle) {
  return Record(GdipDrawArc(graphicsHandle, pen.GetHandle(), x, y, width, height, startAngle, sweepAngle));
}

bool PlusGraphics::DrawArcI(const PlusPen& pen, INT x, INT y, INT width, INT height, float startAngle,
                            float sweepAngle) {
  return Record(GdipDrawArcI(graphicsHandle, pen.GetHandle(), x, y, width, height, startAngle, sweepAngle));
}

bool PlusGraphics::DrawBezier(const PlusPen& pen, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                              float y4) {
  return Record(GdipDrawBezier(graphicsHandle, pen.GetHandle(), x1, y1, x2, y2, x3, y3, x4, y4));
}

bool PlusGraphics::DrawBezierI(const PlusPen& pen, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4) {
  return Record(GdipDrawBezierI(graphicsHandle, pen.GetHandle(), x1, y1, x2, y2, x3, y3, x4, y4));
}

bool PlusGraphics::DrawBeziers(const PlusPen& pen, const std::vector<PointF>& points) {
  return Record(GdipDrawBeziers(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawBeziersI(const PlusPen& pen, const std::vector<PointI>& points) {
  return Record(GdipDrawBeziersI(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawRectangle(const PlusPen& pen, float x, float y, float width, float height) {
  return Record(GdipDrawRectangle(graphicsHandle, pen.GetHandle(), x, y, width, height));
}

bool PlusGraphics::DrawRectangleI(const PlusPen& pen, INT x, INT y, INT width, INT height) {
  return Record(GdipDrawRectangleI(graphicsHandle, pen.GetHandle(), x, y, width, height));
}

bool PlusGraphics::DrawRectangles(const PlusPen& pen, const std::vector<RectF>& rects) {
  return Record(GdipDrawRectangles(graphicsHandle, pen.GetHandle(), Packed(rects), Count(rects)));
}

bool PlusGraphics::DrawRectanglesI(const PlusPen& pen, const std::vector<RectI>& rects) {
  return Record(GdipDrawRectanglesI(graphicsHandle, pen.GetHandle(), Packed(rects), Count(rects)));
}

bool PlusGraphics::DrawEllipse(const PlusPen& pen, float x, float y, float width, float height) {
  return Record(GdipDrawEllipse(graphicsHandle, pen.GetHandle(), x, y, width, height));
}

bool PlusGraphics::DrawEllipseI(const PlusPen& pen, INT x, INT y, INT width, INT height) {
  return Record(GdipDrawEllipseI(graphicsHandle, pen.GetHandle(), x, y, width, height));
}

bool PlusGraphics::DrawPie(const PlusPen& pen, float x, float y, float width, float height, float startAngle,
                           float sweepAngle) {
  return Record(GdipDrawPie(graphicsHandle, pen.GetHandle(), x, y, width, height, startAngle, sweepAngle));
}

bool PlusGraphics::DrawPieI(const PlusPen& pen, INT x, INT y, INT width, INT height, float startAngle,
                            float sweepAngle) {
  return Record(GdipDrawPieI(graphicsHandle, pen.GetHandle(), x, y, width, height, startAngle, sweepAngle));
}

bool PlusGraphics::DrawPolygon(const PlusPen& pen, const std::vector<PointF>& points) {
  return Record(GdipDrawPolygon(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawPolygonI(const PlusPen& pen, const std::vector<PointI>& points) {
  return Record(GdipDrawPolygonI(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawPath(const PlusPen& pen, const PlusPath& path) {
  return Record(GdipDrawPath(graphicsHandle, pen.GetHandle(), path.GetHandle()));
}

bool PlusGraphics::DrawCurve(const PlusPen& pen, const std::vector<PointF>& points) {
  return Record(GdipDrawCurve(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawCurveI(const PlusPen& pen, const std::vector<PointI>& points) {
  return Record(GdipDrawCurveI(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawCurve2(const PlusPen& pen, const std::vector<PointF>& points, float tension) {
  return Record(GdipDrawCurve2(graphicsHandle, pen.GetHandle(), Packed(points), Count(points), tension));
}

bool PlusGraphics::DrawCurve2I(const PlusPen& pen, const std::vector<PointI>& points, float tension) {
  return Record(GdipDrawCurve2I(graphicsHandle, pen.GetHandle(), Packed(points), Count(points), tension));
}

bool PlusGraphics::DrawCurve3(const PlusPen& pen, const std::vector<PointF>& points, INT offset, INT segments,
                              float tension) {
  return Record(
      GdipDrawCurve3(graphicsHandle, pen.GetHandle(), Packed(points), Count(points), offset, segments, tension));
}

bool PlusGraphics::DrawCurve3I(const PlusPen& pen, const std::vector<PointI>& points, INT offset, INT segments,
                               float tension) {
  return Record(
      GdipDrawCurve3I(graphicsHandle, pen.GetHandle(), Packed(points), Count(points), offset, segments, tension));
}

bool PlusGraphics::DrawClosedCurve(const PlusPen& pen, const std::vector<PointF>& points) {
  return Record(GdipDrawClosedCurve(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawClosedCurveI(const PlusPen& pen, const std::vector<PointI>& points) {
  return Record(GdipDrawClosedCurveI(graphicsHandle, pen.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::DrawClosedCurve2(const PlusPen& pen, const std::vector<PointF>& points, float tension) {
  return Record(GdipDrawClosedCurve2(graphicsHandle, pen.GetHandle(), Packed(points), Count(points), tension));
}

bool PlusGraphics::DrawClosedCurve2I(const PlusPen& pen, const std::vector<PointI>& points, float tension) {
  return Record(GdipDrawClosedCurve2I(graphicsHandle, pen.GetHandle(), Packed(points), Count(points), tension));
}

bool PlusGraphics::Clear(std::optional<Argb> color) {
  return Record(GdipGraphicsClear(graphicsHandle, color.value_or(0xFFFFFFFF)));
}

bool PlusGraphics::FillRectangle(const PlusBrush& brush, float x, float y, float width, float height) {
  return Record(GdipFillRectangle(graphicsHandle, brush.GetHandle(), x, y, width, height));
}

bool PlusGraphics::FillRectangleRect(const PlusBrush& brush, const RectF& rect) {
  return Record(GdipFillRectangle(graphicsHandle, brush.GetHandle(), rect.x, rect.y, rect.width, rect.height));
}

bool PlusGraphics::FillRectangleI(const PlusBrush& brush, INT x, INT y, INT width, INT height) {
  return Record(GdipFillRectangleI(graphicsHandle, brush.GetHandle(), x, y, width, height));
}

bool PlusGraphics::FillRectangles(const PlusBrush& brush, const std::vector<RectF>& rects) {
  return Record(GdipFillRectangles(graphicsHandle, brush.GetHandle(), Packed(rects), Count(rects)));
}

bool PlusGraphics::FillRectanglesI(const PlusBrush& brush, const std::vector<RectI>& rects) {
  return Record(GdipFillRectanglesI(graphicsHandle, brush.GetHandle(), Packed(rects), Count(rects)));
}

bool PlusGraphics::FillPolygon(const PlusBrush& brush, const std::vector<PointF>& points,
                               std::optional<FillMode> fillMode) {
  return Record(GdipFillPolygon(graphicsHandle, brush.GetHandle(), Packed(points), Count(points),
                                fillMode.value_or(FillModeAlternate)));
}

bool PlusGraphics::FillPolygonI(const PlusBrush& brush, const std::vector<PointI>& points,
                                std::optional<FillMode> fillMode) {
  return Record(GdipFillPolygonI(graphicsHandle, brush.GetHandle(), Packed(points), Count(points),
                                 fillMode.value_or(FillModeAlternate)));
}

bool PlusGraphics::FillEllipse(const PlusBrush& brush, float x, float y, float width, float height) {
  return Record(GdipFillEllipse(graphicsHandle, brush.GetHandle(), x, y, width, height));
}

bool PlusGraphics::FillEllipseI(const PlusBrush& brush, INT x, INT y, INT width, INT height) {
  return Record(GdipFillEllipseI(graphicsHandle, brush.GetHandle(), x, y, width, height));
}

bool PlusGraphics::FillPie(const PlusBrush& brush, float x, float y, float width, float height, float startAngle,
                           float sweepAngle) {
  return Record(GdipFillPie(graphicsHandle, brush.GetHandle(), x, y, width, height, startAngle, sweepAngle));
}

bool PlusGraphics::FillPieI(const PlusBrush& brush, INT x, INT y, INT width, INT height, float startAngle,
                            float sweepAngle) {
  return Record(GdipFillPieI(graphicsHandle, brush.GetHandle(), x, y, width, height, startAngle, sweepAngle));
}

bool PlusGraphics::FillPath(const PlusBrush& brush, const PlusPath& path) {
  return Record(GdipFillPath(graphicsHandle, brush.GetHandle(), path.GetHandle()));
}

bool PlusGraphics::FillClosedCurve(const PlusBrush& brush, const std::vector<PointF>& points) {
  return Record(GdipFillClosedCurve(graphicsHandle, brush.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::FillClosedCurve2(const PlusBrush& brush, const std::vector<PointF>& points, float tension,
                                    std::optional<FillMode> fillMode) {
  return Record(GdipFillClosedCurve2(graphicsHandle, brush.GetHandle(), Packed(points), Count(points), tension,
                                     fillMode.value_or(FillModeAlternate)));
}

bool PlusGraphics::FillClosedCurveI(const PlusBrush& brush, const std::vector<PointI>& points) {
  return Record(GdipFillClosedCurveI(graphicsHandle, brush.GetHandle(), Packed(points), Count(points)));
}

bool PlusGraphics::FillClosedCurve2I(const PlusBrush& brush, const std::vector<PointI>& points, float tension,
                                     std::optional<FillMode> fillMode) {
  return Record(GdipFillClosedCurve2I(graphicsHandle, brush.GetHandle(), Packed(points), Count(points), tension,
                                      fillMode.value_or(FillModeAlternate)));
}

bool PlusGraphics::FillRegion(const PlusBrush& brush, const PlusRegion& region) {
  return Record(GdipFillRegion(graphicsHandle, brush.GetHandle(), region.GetHandle()));
}

bool PlusGraphics::DrawString(const std::string& text, const PlusFont& font, const PlusBrush& brush,
                              const RectF& layout, const PlusStringFormat& format) {
  const WideText wide(text);
  return Record(GdipDrawString(graphicsHandle, wide, wide.Length(), font.GetHandle(), Packed(layout),
                               format.GetHandle(), brush.GetHandle()));
}

bool PlusGraphics::MeasureString(const std::string& text, const PlusFont& font, const RectF& layout,
                                 const PlusStringFormat& format, RectF& boundingBox) {
  const WideText wide(text);
  return Record(GdipMeasureString(graphicsHandle, wide, wide.Length(), font.GetHandle(), Packed(layout),
                                  format.GetHandle(), Packed(boundingBox), nullptr, nullptr));
}

bool PlusGraphics::MeasureCharacterRanges(const std::string& text, const PlusFont& font, const RectF& layout,
                                          const PlusStringFormat& format, INT count,
                                          std::vector<std::unique_ptr<PlusRegion>>& regions) {
  if (count < 0) {
    std::fprintf(stderr, "PlusGraphics::MeasureCharacterRanges: negative region count %d\n", count);
    std::abort();
  }
  // GDI+ measures into regions that exist: each new object gets a GDI+ region first.
  regions.clear();
  std::vector<GpRegion*> handles;
  for (INT i = 0; i < count; ++i) {
    auto& region = regions.emplace_back(std::make_unique<PlusRegion>());
    GdipCreateRegion(NewHandleFor<GpRegion>(*region));
    handles.push_back(region->GetHandle());
  }
  const WideText wide(text);
  return Record(GdipMeasureCharacterRanges(graphicsHandle, wide, wide.Length(), font.GetHandle(), *Packed(layout),
                                           format.GetHandle(), count, handles.data()));
}

bool PlusGraphics::DrawDriverString(const std::string& text, const PlusFont& font, const PlusBrush& brush,
                                    const std::vector<PointF>& positions, std::optional<INT> flags,
                                    const PlusObject& matrix) {
  const WideText wide(text);
  return Record(GdipDrawDriverString(graphicsHandle, reinterpret_cast<const UINT16*>(static_cast<const WCHAR*>(wide)),
                                     wide.Length(), font.GetHandle(), brush.GetHandle(), Packed(positions),
                                     flags.value_or(DriverStringOptionsCmapLookup), HandleAs<GpMatrix>(matrix)));
}

bool PlusGraphics::SetTextContrast(UINT contrast) { return Record(GdipSetTextContrast(graphicsHandle, contrast)); }

UINT PlusGraphics::GetTextContrast() {
  UINT contrast = 0;
  return Answer(GdipGetTextContrast(graphicsHandle, &contrast), contrast);
}

bool PlusGraphics::DrawImage(const PlusImage& image, float x, float y) {
  return Record(GdipDrawImage(graphicsHandle, image.GetHandle(), x, y));
}

bool PlusGraphics::DrawImageI(const PlusImage& image, INT x, INT y) {
  return Record(GdipDrawImageI(graphicsHandle, image.GetHandle(), x, y));
}

bool PlusGraphics::DrawCachedBitmap(const PlusObject& cachedBitmap, float x, float y) {
  return Record(GdipDrawCachedBitmap(graphicsHandle, HandleAs<GpCachedBitmap>(cachedBitmap),
                                     static_cast<INT>(std::lround(x)), static_cast<INT>(std::lround(y))));
}

bool PlusGraphics::DrawImageRect(const PlusImage& image, float x, float y, float width, float height,
                                 std::optional<Unit> unit) {
  return Record(GdipDrawImageRectRect(graphicsHandle, image.GetHandle(), x, y, width, height, 0, 0,
                                      static_cast<REAL>(image.GetWidth()), static_cast<REAL>(image.GetHeight()),
                                      unit.value_or(UnitPixel), nullptr, nullptr, nullptr));
}

bool PlusGraphics::DrawImageRectI(const PlusImage& image, INT x, INT y, INT width, INT height,
                                  std::optional<Unit> unit) {
  return Record(GdipDrawImageRectRectI(graphicsHandle, image.GetHandle(), x, y, width, height, 0, 0,
                                       static_cast<INT>(image.GetWidth()), static_cast<INT>(image.GetHeight()),
                                       unit.value_or(UnitPixel), nullptr, nullptr, nullptr));
}

bool PlusGraphics::DrawImagePoints(const PlusImage& image, float x1, float y1, float x2, float y2, float x3, float y3) {
  const Gdiplus::PointF corners[] = {{x1, y1}, {x2, y2}, {x3, y3}};
  return Record(GdipDrawImagePoints(graphicsHandle, image.GetHandle(), corners, 3));
}

bool PlusGraphics::DrawImagePointsI(const PlusImage& image, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3) {
  const Gdiplus::Point corners[] = {{x1, y1}, {x2, y2}, {x3, y3}};
  return Record(GdipDrawImagePointsI(graphicsHandle, image.GetHandle(), corners, 3));
}

bool PlusGraphics::DrawImagePointRect(const PlusImage& image, float x, float y, float sourceX, float sourceY,
                                      float sourceWidth, float sourceHeight, std::optional<Unit> unit) {
  return Record(GdipDrawImagePointRect(graphicsHandle, image.GetHandle(), x, y, sourceX, sourceY, sourceWidth,
                                       sourceHeight, unit.value_or(UnitPixel)));
}

bool PlusGraphics::DrawImagePointRectI(const PlusImage& image, INT x, INT y, INT sourceX, INT sourceY, INT sourceWidth,
                                       INT sourceHeight, std::optional<Unit> unit) {
  return Record(GdipDrawImagePointRectI(graphicsHandle, image.GetHandle(), x, y, sourceX, sourceY, sourceWidth,
                                        sourceHeight, unit.value_or(UnitPixel)));
}

bool PlusGraphics::DrawImageRectRect(const PlusImage& image, float x, float y, float width, float height, float sourceX,
                                     float sourceY, float sourceWidth, float sourceHeight, std::optional<Unit> unit,
                                     const PlusImageAttributes& attributes) {
  return Record(GdipDrawImageRectRect(graphicsHandle, image.GetHandle(), x, y, width, height, sourceX, sourceY,
                                      sourceWidth, sourceHeight, unit.value_or(UnitPixel), attributes.GetHandle(),
                                      nullptr, nullptr));
}

bool PlusGraphics::DrawImageRectRectI(const PlusImage& image, INT x, INT y, INT width, INT height, INT sourceX,
                                      INT sourceY, INT sourceWidth, INT sourceHeight, std::optional<Unit> unit,
                                      const PlusImageAttributes& attributes) {
  return Record(GdipDrawImageRectRectI(graphicsHandle, image.GetHandle(), x, y, width, height, sourceX, sourceY,
                                       sourceWidth, sourceHeight, unit.value_or(UnitPixel), attributes.GetHandle(),
                                       nullptr, nullptr));
}

bool PlusGraphics::DrawImagePointsRect(const PlusImage& image, float x1, float y1, float x2, float y2, float x3,
                                       float y3, float sourceX, float sourceY, float sourceWidth, float sourceHeight,
                                       std::optional<Unit> unit, const PlusImageAttributes& attributes) {
  const Gdiplus::PointF corners[] = {{x1, y1}, {x2, y2}, {x3, y3}};
  return Record(GdipDrawImagePointsRect(graphicsHandle, image.GetHandle(), corners, 3, sourceX, sourceY, sourceWidth,
                                        sourceHeight, unit.value_or(UnitPixel), attributes.GetHandle(), nullptr,
                                        nullptr));
}

bool PlusGraphics::DrawImagePointsRectI(const PlusImage& image, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3,
                                        INT sourceX, INT sourceY, INT sourceWidth, INT sourceHeight,
                                        std::optional<Unit> unit, const PlusImageAttributes& attributes) {
  const Gdiplus::Point corners[] = {{x1, y1}, {x2, y2}, {x3, y3}};
  return Record(GdipDrawImagePointsRectI(graphicsHandle, image.GetHandle(), corners, 3, sourceX, sourceY, sourceWidth,
                                         sourceHeight, unit.value_or(UnitPixel), attributes.GetHandle(), nullptr,
                                         nullptr));
}

bool PlusGraphics::EnumerateMetafileDestPoint(const PlusObject& metafile, const PointF& destination,
                                              EnumerateMetafileProc callback, void* callbackData,
                                              const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileDestPoint(graphicsHandle, HandleAs<GpMetafile>(metafile), *Packed(destination),
                                               callback, callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileDestPointI(const PlusObject& metafile, const PointI& destination,
                                               EnumerateMetafileProc callback, void* callbackData,
                                               const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileDestPointI(graphicsHandle, HandleAs<GpMetafile>(metafile), *Packed(destination),
                                                callback, callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileDestPoints(const PlusObject& metafile, const std::vector<PointF>& destination,
                                               EnumerateMetafileProc callback, void* callbackData,
                                               const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileDestPoints(graphicsHandle, HandleAs<GpMetafile>(metafile), Packed(destination),
                                                Count(destination), callback, callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileDestPointsI(const PlusObject& metafile, const std::vector<PointI>& destination,
                                                EnumerateMetafileProc callback, void* callbackData,
                                                const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileDestPointsI(graphicsHandle, HandleAs<GpMetafile>(metafile), Packed(destination),
                                                 Count(destination), callback, callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileDestRect(const PlusObject& metafile, const RectF& destination,
                                             EnumerateMetafileProc callback, void* callbackData,
                                             const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileDestRect(graphicsHandle, HandleAs<GpMetafile>(metafile), *Packed(destination),
                                              callback, callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileDestRectI(const PlusObject& metafile, const RectI& destination,
                                              EnumerateMetafileProc callback, void* callbackData,
                                              const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileDestRectI(graphicsHandle, HandleAs<GpMetafile>(metafile), *Packed(destination),
                                               callback, callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileSrcRectDestPoint(const PlusObject& metafile, const PointF& destination,
                                                     const RectF& source, Unit sourceUnit,
                                                     EnumerateMetafileProc callback, void* callbackData,
                                                     const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileSrcRectDestPoint(graphicsHandle, HandleAs<GpMetafile>(metafile),
                                                      *Packed(destination), *Packed(source), sourceUnit, callback,
                                                      callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileSrcRectDestPointI(const PlusObject& metafile, const PointI& destination,
                                                      const RectI& source, Unit sourceUnit,
                                                      EnumerateMetafileProc callback, void* callbackData,
                                                      const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileSrcRectDestPointI(graphicsHandle, HandleAs<GpMetafile>(metafile),
                                                       *Packed(destination), *Packed(source), sourceUnit, callback,
                                                       callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileSrcRectDestPoints(const PlusObject& metafile,
                                                      const std::vector<PointF>& destination, const RectF& source,
                                                      Unit sourceUnit, EnumerateMetafileProc callback,
                                                      void* callbackData, const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileSrcRectDestPoints(graphicsHandle, HandleAs<GpMetafile>(metafile),
                                                       Packed(destination), Count(destination), *Packed(source),
                                                       sourceUnit, callback, callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileSrcRectDestPointsI(const PlusObject& metafile,
                                                       const std::vector<PointI>& destination, const RectI& source,
                                                       Unit sourceUnit, EnumerateMetafileProc callback,
                                                       void* callbackData, const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileSrcRectDestPointsI(graphicsHandle, HandleAs<GpMetafile>(metafile),
                                                        Packed(destination), Count(destination), *Packed(source),
                                                        sourceUnit, callback, callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileSrcRectDestRect(const PlusObject& metafile, const RectF& destination,
                                                    const RectF& source, Unit sourceUnit,
                                                    EnumerateMetafileProc callback, void* callbackData,
                                                    const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileSrcRectDestRect(graphicsHandle, HandleAs<GpMetafile>(metafile),
                                                     *Packed(destination), *Packed(source), sourceUnit, callback,
                                                     callbackData, attributes.GetHandle()));
}

bool PlusGraphics::EnumerateMetafileSrcRectDestRectI(const PlusObject& metafile, const RectI& destination,
                                                     const RectI& source, Unit sourceUnit,
                                                     EnumerateMetafileProc callback, void* callbackData,
                                                     const PlusImageAttributes& attributes) {
  return Record(GdipEnumerateMetafileSrcRectDestRectI(graphicsHandle, HandleAs<GpMetafile>(metafile),
                                                      *Packed(destination), *Packed(source), sourceUnit, callback,
                                                      callbackData, attributes.GetHandle()));
}

bool PlusGraphics::SetClipGraphics(const PlusGraphics& other, std::optional<CombineMode> mode) {
  return Record(GdipSetClipGraphics(graphicsHandle, other.GetHandle(), mode.value_or(CombineModeReplace)));
}

bool PlusGraphics::SetClipPath(const PlusPath& path, std::optional<CombineMode> mode) {
  return Record(GdipSetClipPath(graphicsHandle, path.GetHandle(), mode.value_or(CombineModeReplace)));
}

bool PlusGraphics::SetClipRect(float x, float y, float width, float height, std::optional<CombineMode> mode) {
  return Record(GdipSetClipRect(graphicsHandle, x, y, width, height, mode.value_or(CombineModeReplace)));
}

bool PlusGraphics::SetClipRectI(INT x, INT y, INT width, INT height, std::optional<CombineMode> mode) {
  return Record(GdipSetClipRectI(graphicsHandle, x, y, width, height, mode.value_or(CombineModeReplace)));
}

bool PlusGraphics::SetClipRegion(const PlusRegion& region, std::optional<CombineMode> mode) {
  return Record(GdipSetClipRegion(graphicsHandle, region.GetHandle(), mode.value_or(CombineModeReplace)));
}

bool PlusGraphics::SetClipHrgn(HRGN region, std::optional<CombineMode> mode) {
  return Record(GdipSetClipHrgn(graphicsHandle, region, mode.value_or(CombineModeReplace)));
}

bool PlusGraphics::ResetClip() { return Record(GdipResetClip(graphicsHandle)); }

bool PlusGraphics::TranslateClip(float dx, float dy) { return Record(GdipTranslateClip(graphicsHandle, dx, dy)); }

bool PlusGraphics::TranslateClipI(INT dx, INT dy) { return Record(GdipTranslateClipI(graphicsHandle, dx, dy)); }

bool PlusGraphics::GetClip(PlusRegion& region) { return Record(GdipGetClip(graphicsHandle, region.GetHandle())); }

RectF PlusGraphics::GetClipBounds() {
  RectF bounds;
  return Answer(GdipGetClipBounds(graphicsHandle, Packed(bounds)), bounds);
}

RectI PlusGraphics::GetClipBoundsI() {
  RectI bounds;
  return Answer(GdipGetClipBoundsI(graphicsHandle, Packed(bounds)), bounds);
}

RectF PlusGraphics::GetVisibleClipBounds() {
  RectF bounds;
  return Answer(GdipGetVisibleClipBounds(graphicsHandle, Packed(bounds)), bounds);
}

RectI PlusGraphics::GetVisibleClipBoundsI() {
  RectI bounds;
  return Answer(GdipGetVisibleClipBoundsI(graphicsHandle, Packed(bounds)), bounds);
}

bool PlusGraphics::IsClipEmpty() {
  BOOL empty = FALSE;
  return Answer(GdipIsClipEmpty(graphicsHandle, &empty), empty);
}

bool PlusGraphics::IsVisibleClipEmpty() {
  // Wine 8.0 reads the graphics before it tests it: without a handle answer as GDI+ does.
  if (!graphicsHandle) return Record(InvalidParameter);
  BOOL empty = FALSE;
  return Answer(GdipIsVisibleClipEmpty(graphicsHandle, &empty), empty);
}

bool PlusGraphics::IsVisiblePoint(float x, float y) {
  BOOL visible = FALSE;
  return Answer(GdipIsVisiblePoint(graphicsHandle, x, y, &visible), visible);
}

bool PlusGraphics::IsVisiblePointI(INT x, INT y) {
  BOOL visible = FALSE;
  return Answer(GdipIsVisiblePointI(graphicsHandle, x, y, &visible), visible);
}

bool PlusGraphics::IsVisibleRect(float x, float y, float width, float height) {
  BOOL visible = FALSE;
  return Answer(GdipIsVisibleRect(graphicsHandle, x, y, width, height, &visible), visible);
}

bool PlusGraphics::IsVisibleRectI(INT x, INT y, INT width, INT height) {
  BOOL visible = FALSE;
  return Answer(GdipIsVisibleRectI(graphicsHandle, x, y, width, height, &visible), visible);
}

GraphicsState PlusGraphics::Save() {
  GraphicsState state = 0;
  return Answer(GdipSaveGraphics(graphicsHandle, &state), state);
}

bool PlusGraphics::Restore(GraphicsState state) { return Record(GdipRestoreGraphics(graphicsHandle, state)); }

GraphicsContainer PlusGraphics::BeginContainer(const RectF& destination, const RectF& source,
                                               std::optional<Unit> unit) {
  GraphicsContainer state = 0;
  return Answer(
      GdipBeginContainer(graphicsHandle, Packed(destination), Packed(source), unit.value_or(UnitWorld), &state), state);
}

GraphicsContainer PlusGraphics::BeginContainerI(const RectI& destination, const RectI& source,
                                                std::optional<Unit> unit) {
  GraphicsContainer state = 0;
  return Answer(
      GdipBeginContainerI(graphicsHandle, Packed(destination), Packed(source), unit.value_or(UnitWorld), &state),
      state);
}

GraphicsContainer PlusGraphics::BeginContainer2() {
  GraphicsContainer state = 0;
  return Answer(GdipBeginContainer2(graphicsHandle, &state), state);
}

bool PlusGraphics::EndContainer(GraphicsContainer state) { return Record(GdipEndContainer(graphicsHandle, state)); }

bool PlusGraphics::Comment(const ByteBuffer& data) {
  return Record(GdipComment(graphicsHandle, static_cast<UINT>(data.size()), data.data()));
}

}  // namespace tavrel::plus
