#include "gdiplus_objects/plus_path_region.h"

#include <algorithm>
#include <cstddef>

#include "gdiplus_objects/plus_graphics.h"
#include "gdiplus_objects/plus_wrap_helpers.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace tavrel::plus {
namespace {

constexpr FillMode kDefaultFillMode = FillModeAlternate;
constexpr CombineMode kDefaultCombineMode = CombineModeIntersect;
constexpr WarpMode kDefaultWarpMode = WarpModePerspective;
constexpr REAL kDefaultFlatness = 0.25f;

// The handle of an optional object; null when it is not given.
template <class T>
auto HandleOf(const T* object) -> decltype(object->GetHandle()) {
  return object ? object->GetHandle() : nullptr;
}

// Asks GDI+ a yes-or-no question whose answer goes to its last parameter: the answer when the
// call is Ok, false otherwise.
template <class... Params, class... Args>
bool AnswerFrom(GpStatus(WINGDIPAPI* question)(Params...), Args... args) {
  BOOL answer = FALSE;
  return Record(question(args..., &answer)) && answer;
}

// GDI+'s PathData layout. The C++ header's PathData frees its lists with delete[] when it goes
// out of scope, which memory from GdipAlloc must not meet.
struct PathDataBlock {
  INT count;
  Gdiplus::PointF* points;
  BYTE* types;
};
static_assert(sizeof(PathDataBlock) == sizeof(Gdiplus::PathData));
static_assert(offsetof(PathDataBlock, points) == offsetof(Gdiplus::PathData, Points));
static_assert(offsetof(PathDataBlock, types) == offsetof(Gdiplus::PathData, Types));

// A block of GDI+ memory from an object's Alloc, given back to its Free at the end of the scope.
class PlusMemory {
 public:
  PlusMemory(const PlusObject& owner, std::size_t size) : owner(owner), block(owner.Alloc(static_cast<INT>(size))) {}
  PlusMemory(const PlusMemory&) = delete;
  PlusMemory& operator=(const PlusMemory&) = delete;
  ~PlusMemory() { owner.Free(block); }
  template <class T>
  T* As() const {
    return static_cast<T*>(block);
  }

 private:
  const PlusObject& owner;
  void* block;
};

// GetPathTypes and GetPathPoints: the list, of a given count or of the path's point count, that
// get(path, entries, count) fills.
template <class T, class Gp>
bool PathList(GpPath* path, std::vector<T>& list, std::optional<INT> count,
              GpStatus(WINGDIPAPI* get)(GpPath*, Gp*, INT)) {
  INT n = 0;
  if (count) {
    n = *count;
  } else if (!Record(GdipGetPointCount(path, &n)) || n == 0) {
    return false;
  }
  list.assign(static_cast<std::size_t>(std::max(n, 0)), T{});
  return Record(get(path, list.empty() ? nullptr : reinterpret_cast<Gp*>(list.data()), n));
}

// GetScans and GetScansI: as many rectangles as GDI+ counts, filled by getScans; the result is
// the number GDI+ writes back into the count, whatever the status of the filling.
template <class Rect>
UINT Scans(GpRegion* region, const PlusObject& matrix, std::vector<Rect>& rects,
           GpStatus(WINGDIPAPI* getScans)(GpRegion*, typename GpLayout<Rect>::type*, INT*, GpMatrix*)) {
  UINT n = 0;
  if (!Record(GdipGetRegionScansCount(region, &n, HandleAs<GpMatrix>(matrix)))) return 0;
  rects.assign(n, Rect{});
  INT count = static_cast<INT>(n);
  Record(getScans(region, Packed(rects), &count, HandleAs<GpMatrix>(matrix)));
  return static_cast<UINT>(count);
}

}  // namespace

// PlusPath

PlusPath::~PlusPath() { Dispose(); }

bool PlusPath::Dispose() { return pathHandle && DisposedWith(*this, GdipDeletePath(pathHandle)); }

bool PlusPath::Create(std::optional<FillMode> fillMode) {
  return Record(GdipCreatePath(fillMode.value_or(kDefaultFillMode), NewHandleFor<GpPath>(*this)));
}

bool PlusPath::CreateFromPoints(const std::vector<PointF>& points, const ByteBuffer& types,
                                std::optional<FillMode> fillMode) {
  return Record(GdipCreatePath2(Packed(points), Packed(types), Count(points), fillMode.value_or(kDefaultFillMode),
                                NewHandleFor<GpPath>(*this)));
}

bool PlusPath::CreateFromPointsI(const std::vector<PointI>& points, const ByteBuffer& types,
                                 std::optional<FillMode> fillMode) {
  return Record(GdipCreatePath2I(Packed(points), Packed(types), Count(points), fillMode.value_or(kDefaultFillMode),
                                 NewHandleFor<GpPath>(*this)));
}

bool PlusPath::Clone(PlusPath& target) const { return Record(GdipClonePath(pathHandle, NewHandleFor<GpPath>(target))); }

bool PlusPath::Reset() { return Record(GdipResetPath(pathHandle)); }

FillMode PlusPath::GetFillMode() const { return ValueFrom(GdipGetPathFillMode, pathHandle); }

bool PlusPath::SetFillMode(FillMode fillMode) { return Record(GdipSetPathFillMode(pathHandle, fillMode)); }

bool PlusPath::GetPathData(PathData& data) const {
  INT n = 0;
  if (!Record(GdipGetPointCount(pathHandle, &n))) return false;
  const auto size = static_cast<std::size_t>(std::max(n, 0));
  data.points.assign(size, PointF{});
  data.types.assign(size, 0);
  if (n == 0) return false;
  const PlusMemory points(*this, size * sizeof(PointF));
  const PlusMemory types(*this, size);
  PathDataBlock block{n, points.As<Gdiplus::PointF>(), types.As<BYTE>()};
  if (!Record(GdipGetPathData(pathHandle, reinterpret_cast<GpPathData*>(&block)))) return false;
  data.count = block.count;
  std::copy_n(block.points, size, Packed(data.points));
  std::copy_n(block.types, size, data.types.data());
  return true;
}

bool PlusPath::GetPathTypes(ByteBuffer& types, std::optional<INT> count) const {
  return PathList(pathHandle, types, count, GdipGetPathTypes);
}

bool PlusPath::GetPathPoints(std::vector<PointF>& points, std::optional<INT> count) const {
  return PathList(pathHandle, points, count, GdipGetPathPoints);
}

bool PlusPath::StartFigure() { return Record(GdipStartPathFigure(pathHandle)); }

bool PlusPath::CloseFigure() { return Record(GdipClosePathFigure(pathHandle)); }

bool PlusPath::CloseAllFigures() { return Record(GdipClosePathFigures(pathHandle)); }

bool PlusPath::SetMarker() { return Record(GdipSetPathMarker(pathHandle)); }

bool PlusPath::ClearMarkers() { return Record(GdipClearPathMarkers(pathHandle)); }

bool PlusPath::Reverse() { return Record(GdipReversePath(pathHandle)); }

PointF PlusPath::GetLastPoint() const {
  PointF point;
  return Record(GdipGetPathLastPoint(pathHandle, Packed(point))) ? point : PointF{};
}

bool PlusPath::AddLine(float x1, float y1, float x2, float y2) {
  return Record(GdipAddPathLine(pathHandle, x1, y1, x2, y2));
}

bool PlusPath::AddLineI(INT x1, INT y1, INT x2, INT y2) { return Record(GdipAddPathLineI(pathHandle, x1, y1, x2, y2)); }

bool PlusPath::AddLines(const std::vector<PointF>& points) {
  return Record(GdipAddPathLine2(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddLinesI(const std::vector<PointI>& points) {
  return Record(GdipAddPathLine2I(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
  return Record(GdipAddPathArc(pathHandle, x, y, width, height, startAngle, sweepAngle));
}

bool PlusPath::AddArcI(INT x, INT y, INT width, INT height, float startAngle, float sweepAngle) {
  return Record(GdipAddPathArcI(pathHandle, x, y, width, height, startAngle, sweepAngle));
}

bool PlusPath::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
  return Record(GdipAddPathBezier(pathHandle, x1, y1, x2, y2, x3, y3, x4, y4));
}

bool PlusPath::AddBezierI(INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4) {
  return Record(GdipAddPathBezierI(pathHandle, x1, y1, x2, y2, x3, y3, x4, y4));
}

bool PlusPath::AddBeziers(const std::vector<PointF>& points) {
  return Record(GdipAddPathBeziers(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddBeziersI(const std::vector<PointI>& points) {
  return Record(GdipAddPathBeziersI(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddCurve(const std::vector<PointF>& points) {
  return Record(GdipAddPathCurve(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddCurve2(const std::vector<PointF>& points, float tension) {
  return Record(GdipAddPathCurve2(pathHandle, Packed(points), Count(points), tension));
}

bool PlusPath::AddCurve3(const std::vector<PointF>& points, INT offset, INT segments, float tension) {
  return Record(GdipAddPathCurve3(pathHandle, Packed(points), Count(points), offset, segments, tension));
}

bool PlusPath::AddCurveI(const std::vector<PointI>& points) {
  return Record(GdipAddPathCurveI(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddCurve2I(const std::vector<PointI>& points, float tension) {
  return Record(GdipAddPathCurve2I(pathHandle, Packed(points), Count(points), tension));
}

bool PlusPath::AddCurve3I(const std::vector<PointI>& points, INT offset, INT segments, float tension) {
  return Record(GdipAddPathCurve3I(pathHandle, Packed(points), Count(points), offset, segments, tension));
}

bool PlusPath::AddClosedCurve(const std::vector<PointF>& points) {
  return Record(GdipAddPathClosedCurve(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddClosedCurve2(const std::vector<PointF>& points, float tension) {
  return Record(GdipAddPathClosedCurve2(pathHandle, Packed(points), Count(points), tension));
}

bool PlusPath::AddClosedCurveI(const std::vector<PointI>& points) {
  return Record(GdipAddPathClosedCurveI(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddClosedCurve2I(const std::vector<PointI>& points, float tension) {
  return Record(GdipAddPathClosedCurve2I(pathHandle, Packed(points), Count(points), tension));
}

bool PlusPath::AddRectangle(float x, float y, float width, float height) {
  return Record(GdipAddPathRectangle(pathHandle, x, y, width, height));
}

bool PlusPath::AddRoundedRectangle(float x, float y, float width, float height, std::int32_t roundness) {
  roundness = std::clamp(roundness, 1, 100);
  const float right = x + width;
  const float bottom = y + height;
  // The full size of a corner's ellipse, truncated toward zero.
  const auto cw = static_cast<std::int32_t>(static_cast<double>(width) * roundness / 100);
  const auto ch = static_cast<std::int32_t>(static_cast<double>(height) * roundness / 100);
  // Box positions in double, handed over as floats; each arc's status is left unrecorded.
  const auto arc = [&](double left, double top, float startAngle) {
    GdipAddPathArc(pathHandle, static_cast<REAL>(left), static_cast<REAL>(top), static_cast<REAL>(cw),
                   static_cast<REAL>(ch), startAngle, 90);
  };
  arc(static_cast<double>(right) - cw, y, 270);
  arc(static_cast<double>(right) - cw, static_cast<double>(bottom) - ch, 0);
  arc(x, static_cast<double>(bottom) - ch, 90);
  arc(x, y, 180);
  return Record(GdipClosePathFigure(pathHandle));
}

bool PlusPath::AddRectangles(const std::vector<RectF>& rects) {
  return Record(GdipAddPathRectangles(pathHandle, Packed(rects), Count(rects)));
}

bool PlusPath::AddRectangleI(INT x, INT y, INT width, INT height) {
  return Record(GdipAddPathRectangleI(pathHandle, x, y, width, height));
}

bool PlusPath::AddRectanglesI(const std::vector<RectI>& rects) {
  return Record(GdipAddPathRectanglesI(pathHandle, Packed(rects), Count(rects)));
}

bool PlusPath::AddEllipse(float x, float y, float width, float height) {
  return Record(GdipAddPathEllipse(pathHandle, x, y, width, height));
}

bool PlusPath::AddEllipseI(INT x, INT y, INT width, INT height) {
  return Record(GdipAddPathEllipseI(pathHandle, x, y, width, height));
}

bool PlusPath::AddPieI(INT x, INT y, INT width, INT height, float startAngle, float sweepAngle) {
  return Record(GdipAddPathPieI(pathHandle, x, y, width, height, startAngle, sweepAngle));
}

bool PlusPath::AddPolygon(const std::vector<PointF>& points) {
  return Record(GdipAddPathPolygon(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddPolygonI(const std::vector<PointI>& points) {
  return Record(GdipAddPathPolygonI(pathHandle, Packed(points), Count(points)));
}

bool PlusPath::AddPath(const PlusPath& path, std::optional<bool> connect) {
  return Record(GdipAddPathPath(pathHandle, path.GetHandle(), connect.value_or(false)));
}

bool PlusPath::AddString(const std::string& text, const PlusFontFamily& family, INT emSize, const RectF& layoutRect,
                         std::optional<INT> style, const PlusStringFormat* format) {
  const WideText wide(text);
  return Record(GdipAddPathString(pathHandle, wide, wide.Length(), family.GetHandle(), style.value_or(FontStyleRegular),
                                  static_cast<REAL>(emSize), Packed(layoutRect), HandleOf(format)));
}

bool PlusPath::AddStringI(const std::string& text, const PlusFontFamily& family, INT emSize, const RectI& layoutRect,
                          std::optional<INT> style, const PlusStringFormat* format) {
  const WideText wide(text);
  return Record(GdipAddPathStringI(pathHandle, wide, wide.Length(), family.GetHandle(),
                                   style.value_or(FontStyleRegular), static_cast<REAL>(emSize), Packed(layoutRect),
                                   HandleOf(format)));
}

bool PlusPath::Transform(const PlusObject& matrix) {
  return Record(GdipTransformPath(pathHandle, HandleAs<GpMatrix>(matrix)));
}

bool PlusPath::Flatten(const PlusObject* matrix, std::optional<float> flatness) {
  return Record(GdipFlattenPath(pathHandle, HandleAs<GpMatrix>(matrix), flatness.value_or(kDefaultFlatness)));
}

bool PlusPath::Widen(const PlusPen& pen, const PlusObject* matrix, std::optional<float> flatness) {
  return Record(
      GdipWidenPath(pathHandle, pen.GetHandle(), HandleAs<GpMatrix>(matrix), flatness.value_or(kDefaultFlatness)));
}

bool PlusPath::Outline(const PlusObject* matrix, std::optional<float> flatness) {
  return Record(GdipWindingModeOutline(pathHandle, HandleAs<GpMatrix>(matrix), flatness.value_or(kDefaultFlatness)));
}

bool PlusPath::Warp(const std::vector<PointF>& points, const RectF& rect, const PlusObject* matrix,
                    std::optional<WarpMode> warpMode, std::optional<float> flatness) {
  return Record(GdipWarpPath(pathHandle, HandleAs<GpMatrix>(matrix), Packed(points), Count(points), rect.x, rect.y,
                             rect.width, rect.height, warpMode.value_or(kDefaultWarpMode),
                             flatness.value_or(kDefaultFlatness)));
}

INT PlusPath::GetPointCount() const { return ValueFrom(GdipGetPointCount, pathHandle); }

RectF PlusPath::GetBounds(const PlusObject* matrix, const PlusPen* pen) const {
  RectF bounds;
  return Record(GdipGetPathWorldBounds(pathHandle, Packed(bounds), HandleAs<GpMatrix>(matrix), HandleOf(pen)))
             ? bounds
             : RectF{};
}

bool PlusPath::IsVisible(float x, float y, const PlusGraphics* graphics) const {
  return AnswerFrom(GdipIsVisiblePathPoint, pathHandle, x, y, HandleOf(graphics));
}

bool PlusPath::IsVisibleI(INT x, INT y, const PlusGraphics* graphics) const {
  return AnswerFrom(GdipIsVisiblePathPointI, pathHandle, x, y, HandleOf(graphics));
}

bool PlusPath::IsOutlineVisible(float x, float y, const PlusPen& pen, const PlusGraphics* graphics) const {
  return AnswerFrom(GdipIsOutlineVisiblePathPoint, pathHandle, x, y, pen.GetHandle(), HandleOf(graphics));
}

bool PlusPath::IsOutlineVisibleI(INT x, INT y, const PlusPen& pen, const PlusGraphics* graphics) const {
  return AnswerFrom(GdipIsOutlineVisiblePathPointI, pathHandle, x, y, pen.GetHandle(), HandleOf(graphics));
}

// PlusRegion

PlusRegion::~PlusRegion() { Dispose(); }

bool PlusRegion::Dispose() { return regionHandle && DisposedWith(*this, GdipDeleteRegion(regionHandle)); }

bool PlusRegion::Create() { return Record(GdipCreateRegion(NewHandleFor<GpRegion>(*this))); }

bool PlusRegion::CreateFromRect(const RectF& rect) {
  return Record(GdipCreateRegionRect(Packed(rect), NewHandleFor<GpRegion>(*this)));
}

bool PlusRegion::CreateFromRectI(const RectI& rect) {
  return Record(GdipCreateRegionRectI(Packed(rect), NewHandleFor<GpRegion>(*this)));
}

bool PlusRegion::CreateFromPath(const PlusPath& path) {
  return Record(GdipCreateRegionPath(path.GetHandle(), NewHandleFor<GpRegion>(*this)));
}

bool PlusRegion::CreateFromHrgn(HRGN hrgn) { return Record(GdipCreateRegionHrgn(hrgn, NewHandleFor<GpRegion>(*this))); }

bool PlusRegion::CreateFromRgnData(const ByteBuffer& data, INT size) {
  return Record(GdipCreateRegionRgnData(Packed(data), size, NewHandleFor<GpRegion>(*this)));
}

bool PlusRegion::Clone(PlusRegion& target) const {
  return Record(GdipCloneRegion(regionHandle, NewHandleFor<GpRegion>(target)));
}

bool PlusRegion::MakeInfinite() { return Record(GdipSetInfinite(regionHandle)); }

bool PlusRegion::MakeEmpty() { return Record(GdipSetEmpty(regionHandle)); }

bool PlusRegion::CombineRect(const RectF& rect, std::optional<CombineMode> mode) {
  return Record(GdipCombineRegionRect(regionHandle, Packed(rect), mode.value_or(kDefaultCombineMode)));
}

bool PlusRegion::CombineRectI(const RectI& rect, std::optional<CombineMode> mode) {
  return Record(GdipCombineRegionRectI(regionHandle, Packed(rect), mode.value_or(kDefaultCombineMode)));
}

bool PlusRegion::CombineRegion(const PlusRegion& region, std::optional<CombineMode> mode) {
  return Record(GdipCombineRegionRegion(regionHandle, region.GetHandle(), mode.value_or(kDefaultCombineMode)));
}

bool PlusRegion::CombinePath(const PlusPath& path, std::optional<CombineMode> mode) {
  return Record(GdipCombineRegionPath(regionHandle, path.GetHandle(), mode.value_or(kDefaultCombineMode)));
}

bool PlusRegion::Translate(float dx, float dy) { return Record(GdipTranslateRegion(regionHandle, dx, dy)); }

bool PlusRegion::TranslateI(INT dx, INT dy) { return Record(GdipTranslateRegionI(regionHandle, dx, dy)); }

bool PlusRegion::Transform(const PlusObject& matrix) {
  return Record(GdipTransformRegion(regionHandle, HandleAs<GpMatrix>(matrix)));
}

RectF PlusRegion::GetBounds(const PlusGraphics& graphics) const {
  RectF bounds;
  return Record(GdipGetRegionBounds(regionHandle, graphics.GetHandle(), Packed(bounds))) ? bounds : RectF{};
}

RectI PlusRegion::GetBoundsI(const PlusGraphics& graphics) const {
  RectI bounds;
  return Record(GdipGetRegionBoundsI(regionHandle, graphics.GetHandle(), Packed(bounds))) ? bounds : RectI{};
}

UINT PlusRegion::GetDataSize() const { return ValueFrom(GdipGetRegionDataSize, regionHandle); }

ByteBuffer PlusRegion::GetData(UINT bufferSize, UINT* sizeFilled) const {
  ByteBuffer data(bufferSize, 0);
  Record(GdipGetRegionData(regionHandle, Packed(data), bufferSize, sizeFilled));
  return data;
}

HRGN PlusRegion::GetHRGN(const PlusGraphics& graphics) const {
  HRGN hrgn = nullptr;
  return Record(GdipGetRegionHRgn(regionHandle, graphics.GetHandle(), &hrgn)) ? hrgn : nullptr;
}

bool PlusRegion::IsEmpty(const PlusGraphics& graphics) const {
  return AnswerFrom(GdipIsEmptyRegion, regionHandle, graphics.GetHandle());
}

bool PlusRegion::IsInfinite(const PlusGraphics& graphics) const {
  return AnswerFrom(GdipIsInfiniteRegion, regionHandle, graphics.GetHandle());
}

bool PlusRegion::Equals(const PlusRegion& region, const PlusGraphics& graphics) const {
  return AnswerFrom(GdipIsEqualRegion, regionHandle, region.GetHandle(), graphics.GetHandle());
}

bool PlusRegion::IsVisiblePoint(const PointF& point, const PlusGraphics* graphics) const {
  return AnswerFrom(GdipIsVisibleRegionPoint, regionHandle, point.x, point.y, HandleOf(graphics));
}

bool PlusRegion::IsVisiblePointI(const PointI& point, const PlusGraphics* graphics) const {
  return AnswerFrom(GdipIsVisibleRegionPointI, regionHandle, point.x, point.y, HandleOf(graphics));
}

bool PlusRegion::IsVisibleRect(const RectF& rect, const PlusGraphics* graphics) const {
  return AnswerFrom(GdipIsVisibleRegionRect, regionHandle, rect.x, rect.y, rect.width, rect.height, HandleOf(graphics));
}

bool PlusRegion::IsVisibleRectI(const RectI& rect, const PlusGraphics* graphics) const {
  return AnswerFrom(GdipIsVisibleRegionRectI, regionHandle, rect.x, rect.y, rect.width, rect.height,
                    HandleOf(graphics));
}

UINT PlusRegion::GetScansCount(const PlusObject& matrix) const {
  UINT count = 0;
  return Record(GdipGetRegionScansCount(regionHandle, &count, HandleAs<GpMatrix>(matrix))) ? count : 0;
}

UINT PlusRegion::GetScans(const PlusObject& matrix, std::vector<RectF>& rects) const {
  return Scans(regionHandle, matrix, rects, GdipGetRegionScans);
}

UINT PlusRegion::GetScansI(const PlusObject& matrix, std::vector<RectI>& rects) const {
  return Scans(regionHandle, matrix, rects, GdipGetRegionScansI);
}

}  // namespace tavrel::plus
