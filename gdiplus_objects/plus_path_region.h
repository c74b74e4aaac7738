// PlusPath (GDI+ GraphicsPath) and PlusRegion, with the PathData record a path hands out.
// A matrix is any object of the layer that holds a GDI+ matrix; an object without a handle, or an
// optional object not given (null), passes null to GDI+.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

class PlusFontFamily;
class PlusGraphics;
class PlusPen;
class PlusStringFormat;

// A path's points and their GDI+ path point type bytes.
struct PathData {
  std::int32_t count = 0;
  std::vector<PointF> points;
  ByteBuffer types;
};

class PlusPath : public PlusObjectOf<Gdiplus::GpPath> {
 public:
  PlusPath() = default;
  ~PlusPath() override;
  void StoreHandle(void* newHandle) override { pathHandle = static_cast<Gdiplus::GpPath*>(newHandle); }

  bool Dispose();
  bool Create(std::optional<Gdiplus::FillMode> fillMode = std::nullopt);
  // points and types must be of equal length.
  bool CreateFromPoints(const std::vector<PointF>& points, const ByteBuffer& types,
                        std::optional<Gdiplus::FillMode> fillMode = std::nullopt);
  bool CreateFromPointsI(const std::vector<PointI>& points, const ByteBuffer& types,
                         std::optional<Gdiplus::FillMode> fillMode = std::nullopt);
  bool Clone(PlusPath& target) const;
  bool Reset();
  Gdiplus::FillMode GetFillMode() const;
  bool SetFillMode(Gdiplus::FillMode fillMode);
  // False for an empty path: the lists are then emptied and data.count is left as it was.
  bool GetPathData(PathData& data) const;
  // Without a count, the path's point count; false with the list unchanged when that is 0.
  bool GetPathTypes(ByteBuffer& types, std::optional<INT> count = std::nullopt) const;
  bool GetPathPoints(std::vector<PointF>& points, std::optional<INT> count = std::nullopt) const;
  bool StartFigure();
  bool CloseFigure();
  bool CloseAllFigures();
  bool SetMarker();
  bool ClearMarkers();
  bool Reverse();
  PointF GetLastPoint() const;
  bool AddLine(float x1, float y1, float x2, float y2);
  bool AddLineI(INT x1, INT y1, INT x2, INT y2);
  bool AddLines(const std::vector<PointF>& points);
  bool AddLinesI(const std::vector<PointI>& points);
  bool AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
  bool AddArcI(INT x, INT y, INT width, INT height, float startAngle, float sweepAngle);
  bool AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
  bool AddBezierI(INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4);
  bool AddBeziers(const std::vector<PointF>& points);
  bool AddBeziersI(const std::vector<PointI>& points);
  bool AddCurve(const std::vector<PointF>& points);
  bool AddCurve2(const std::vector<PointF>& points, float tension);
  bool AddCurve3(const std::vector<PointF>& points, INT offset, INT segments, float tension);
  bool AddCurveI(const std::vector<PointI>& points);
  bool AddCurve2I(const std::vector<PointI>& points, float tension);
  bool AddCurve3I(const std::vector<PointI>& points, INT offset, INT segments, float tension);
  bool AddClosedCurve(const std::vector<PointF>& points);
  bool AddClosedCurve2(const std::vector<PointF>& points, float tension);
  bool AddClosedCurveI(const std::vector<PointI>& points);
  bool AddClosedCurve2I(const std::vector<PointI>& points, float tension);
  bool AddRectangle(float x, float y, float width, float height);
  // One closed figure of four quarter-ellipse corners whose box is roundness percent (1 to 100)
  // of the width and height. Only the status of closing the figure counts.
  bool AddRoundedRectangle(float x, float y, float width, float height, std::int32_t roundness);
  bool AddRectangles(const std::vector<RectF>& rects);
  bool AddRectangleI(INT x, INT y, INT width, INT height);
  bool AddRectanglesI(const std::vector<RectI>& rects);
  bool AddEllipse(float x, float y, float width, float height);
  bool AddEllipseI(INT x, INT y, INT width, INT height);
  // GDI+ has a float pie too; the layer offers only this one.
  bool AddPieI(INT x, INT y, INT width, INT height, float startAngle, float sweepAngle);
  bool AddPolygon(const std::vector<PointF>& points);
  bool AddPolygonI(const std::vector<PointI>& points);
  bool AddPath(const PlusPath& path, std::optional<bool> connect = std::nullopt);
  // The outline of an ANSI text; style: FontStyle flags, regular unless given.
  bool AddString(const std::string& text, const PlusFontFamily& family, INT emSize, const RectF& layoutRect,
                 std::optional<INT> style = std::nullopt, const PlusStringFormat* format = nullptr);
  bool AddStringI(const std::string& text, const PlusFontFamily& family, INT emSize, const RectI& layoutRect,
                  std::optional<INT> style = std::nullopt, const PlusStringFormat* format = nullptr);
  bool Transform(const PlusObject& matrix);
  bool Flatten(const PlusObject* matrix = nullptr, std::optional<float> flatness = std::nullopt);
  bool Widen(const PlusPen& pen, const PlusObject* matrix = nullptr, std::optional<float> flatness = std::nullopt);
  bool Outline(const PlusObject* matrix = nullptr, std::optional<float> flatness = std::nullopt);
  bool Warp(const std::vector<PointF>& points, const RectF& rect, const PlusObject* matrix = nullptr,
            std::optional<Gdiplus::WarpMode> warpMode = std::nullopt, std::optional<float> flatness = std::nullopt);
  INT GetPointCount() const;
  RectF GetBounds(const PlusObject* matrix = nullptr, const PlusPen* pen = nullptr) const;
  // The yes-or-no questions answer what GDI+ answered, and false when it failed.
  bool IsVisible(float x, float y, const PlusGraphics* graphics = nullptr) const;
  bool IsVisibleI(INT x, INT y, const PlusGraphics* graphics = nullptr) const;
  bool IsOutlineVisible(float x, float y, const PlusPen& pen, const PlusGraphics* graphics = nullptr) const;
  bool IsOutlineVisibleI(INT x, INT y, const PlusPen& pen, const PlusGraphics* graphics = nullptr) const;

 private:
  Gdiplus::GpPath* pathHandle = nullptr;
};

class PlusRegion : public PlusObjectOf<Gdiplus::GpRegion> {
 public:
  PlusRegion() = default;
  ~PlusRegion() override;
  void StoreHandle(void* newHandle) override { regionHandle = static_cast<Gdiplus::GpRegion*>(newHandle); }

  bool Dispose();
  // The infinite region.
  bool Create();
  bool CreateFromRect(const RectF& rect);
  bool CreateFromRectI(const RectI& rect);
  bool CreateFromPath(const PlusPath& path);
  bool CreateFromHrgn(HRGN hrgn);
  // size goes to GDI+ unchanged and must not exceed data's length.
  bool CreateFromRgnData(const ByteBuffer& data, INT size);
  bool Clone(PlusRegion& target) const;
  bool MakeInfinite();
  bool MakeEmpty();
  // The combinations intersect unless a mode is given.
  bool CombineRect(const RectF& rect, std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool CombineRectI(const RectI& rect, std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool CombineRegion(const PlusRegion& region, std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool CombinePath(const PlusPath& path, std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool Translate(float dx, float dy);
  bool TranslateI(INT dx, INT dy);
  bool Transform(const PlusObject& matrix);
  RectF GetBounds(const PlusGraphics& graphics) const;
  RectI GetBoundsI(const PlusGraphics& graphics) const;
  UINT GetDataSize() const;
  // bufferSize zero bytes that GDI+ fills; it writes the number of bytes used to sizeFilled.
  ByteBuffer GetData(UINT bufferSize, UINT* sizeFilled = nullptr) const;
  // A new GDI region the caller deletes; null when GDI+ fails.
  HRGN GetHRGN(const PlusGraphics& graphics) const;
  // The yes-or-no questions answer what GDI+ answered, and false when it failed.
  bool IsEmpty(const PlusGraphics& graphics) const;
  bool IsInfinite(const PlusGraphics& graphics) const;
  bool Equals(const PlusRegion& region, const PlusGraphics& graphics) const;
  bool IsVisiblePoint(const PointF& point, const PlusGraphics* graphics = nullptr) const;
  bool IsVisiblePointI(const PointI& point, const PlusGraphics* graphics = nullptr) const;
  bool IsVisibleRect(const RectF& rect, const PlusGraphics* graphics = nullptr) const;
  bool IsVisibleRectI(const RectI& rect, const PlusGraphics* graphics = nullptr) const;
  UINT GetScansCount(const PlusObject& matrix) const;
  // The region as rectangles after the matrix; returns their number (0 with rects unchanged
  // when GDI+ cannot count them).
  UINT GetScans(const PlusObject& matrix, std::vector<RectF>& rects) const;
  UINT GetScansI(const PlusObject& matrix, std::vector<RectI>& rects) const;

 private:
  Gdiplus::GpRegion* regionHandle = nullptr;
};

}  // namespace tavrel::plus
