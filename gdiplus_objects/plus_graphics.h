// PlusGraphics: a GDI+ drawing surface on a window, a device context or an image. Every operation
// is one GDI+ Graphics call with the object's handle first and its own arguments in the same order.
// Optional arguments take their default when std::nullopt: the colour of Clear 0xFFFFFFFF, the unit
// of the image-drawing operations UnitPixel, the flags of DrawDriverString CmapLookup, all others 0.
#pragma once

#include <memory>

#include "gdiplus_objects/plus_brush_pen.h"
#include "gdiplus_objects/plus_image.h"
#include "gdiplus_objects/plus_image_attributes.h"
#include "gdiplus_objects/plus_path_region.h"
#include "gdiplus_objects/plus_text.h"

namespace tavrel::plus {

class PlusGraphics : public PlusObjectOf<Gdiplus::GpGraphics> {
 public:
  PlusGraphics() = default;
  ~PlusGraphics() override;
  void StoreHandle(void* newHandle) override { graphicsHandle = static_cast<Gdiplus::GpGraphics*>(newHandle); }

  // False at once, without a GDI+ call, when there is no handle.
  bool Dispose();
  // A handle held before is not disposed: Dispose before creating anew.
  bool CreateFromHWND(HWND window, std::optional<bool> useICM = std::nullopt);
  bool CreateFromHDC(HDC dc, std::optional<HANDLE> device = std::nullopt);
  bool CreateFromImage(const PlusImage& image);
  HDC GetHDC();
  bool ReleaseHDC(HDC dc);
  Gdiplus::CompositingMode GetCompositingMode();
  bool SetCompositingMode(Gdiplus::CompositingMode mode);
  bool GetRenderingOrigin(INT& x, INT& y);
  bool SetRenderingOrigin(INT x, INT y);
  Gdiplus::CompositingQuality GetCompositingQuality();
  bool SetCompositingQuality(Gdiplus::CompositingQuality quality);
  bool SetSmoothingMode(Gdiplus::SmoothingMode mode);
  Gdiplus::SmoothingMode GetSmoothingMode();
  bool SetTextRenderingHint(Gdiplus::TextRenderingHint hint);
  Gdiplus::TextRenderingHint GetTextRenderingHint();
  bool SetInterpolationMode(Gdiplus::InterpolationMode mode);
  Gdiplus::InterpolationMode GetInterpolationMode();
  bool SetPixelOffsetMode(Gdiplus::PixelOffsetMode mode);
  Gdiplus::PixelOffsetMode GetPixelOffsetMode();
  // The matrix is any object of the layer that holds a GDI+ matrix.
  bool SetTransform(const PlusObject& matrix);
  // GDI+ copies the world transform into the matrix that the target holds.
  bool GetTransform(PlusObject& matrix);
  bool ResetTransform();
  bool MultiplyTransform(const PlusObject& matrix, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  bool TranslateTransform(float dx, float dy, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  bool ScaleTransform(float sx, float sy, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  bool RotateTransform(float angle, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  bool SetPageUnit(Gdiplus::Unit unit);
  Gdiplus::Unit GetPageUnit();
  bool SetPageScale(float scale);
  float GetPageScale();
  float GetDpiX();
  float GetDpiY();
  // Transforms the points in place.
  bool TransformPoints(Gdiplus::CoordinateSpace destination, Gdiplus::CoordinateSpace source,
                       std::vector<PointF>& points);
  bool TransformPointsI(Gdiplus::CoordinateSpace destination, Gdiplus::CoordinateSpace source,
                        std::vector<PointI>& points);
  // The colour as the surface can show it.
  Argb GetNearestColor(Argb color);

  bool DrawLine(const PlusPen& pen, float x1, float y1, float x2, float y2);
  bool DrawLineI(const PlusPen& pen, INT x1, INT y1, INT x2, INT y2);
  bool DrawLines(const PlusPen& pen, const std::vector<PointF>& points);
  bool DrawLinesI(const PlusPen& pen, const std::vector<PointI>& points);
  bool DrawArc(const PlusPen& pen, float x, float y, float width, float height, float startAngle, float sweepAngle);
  bool DrawArcI(const PlusPen& pen, INT x, INT y, INT width, INT height, float startAngle, float sweepAngle);
  bool DrawBezier(const PlusPen& pen, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
  bool DrawBezierI(const PlusPen& pen, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4);
  bool DrawBeziers(const PlusPen& pen, const std::vector<PointF>& points);
  bool DrawBeziersI(const PlusPen& pen, const std::vector<PointI>& points);
  bool DrawRectangle(const PlusPen& pen, float x, float y, float width, float height);
  bool DrawRectangleI(const PlusPen& pen, INT x, INT y, INT width, INT height);
  bool DrawRectangles(const PlusPen& pen, const std::vector<RectF>& rects);
  bool DrawRectanglesI(const PlusPen& pen, const std::vector<RectI>& rects);
  bool DrawEllipse(const PlusPen& pen, float x, float y, float width, float height);
  bool DrawEllipseI(const PlusPen& pen, INT x, INT y, INT width, INT height);
  bool DrawPie(const PlusPen& pen, float x, float y, float width, float height, float startAngle, float sweepAngle);
  bool DrawPieI(const PlusPen& pen, INT x, INT y, INT width, INT height, float startAngle, float sweepAngle);
  bool DrawPolygon(const PlusPen& pen, const std::vector<PointF>& points);
  bool DrawPolygonI(const PlusPen& pen, const std::vector<PointI>& points);
  bool DrawPath(const PlusPen& pen, const PlusPath& path);
  bool DrawCurve(const PlusPen& pen, const std::vector<PointF>& points);
  bool DrawCurveI(const PlusPen& pen, const std::vector<PointI>& points);
  bool DrawCurve2(const PlusPen& pen, const std::vector<PointF>& points, float tension);
  bool DrawCurve2I(const PlusPen& pen, const std::vector<PointI>& points, float tension);
  bool DrawCurve3(const PlusPen& pen, const std::vector<PointF>& points, INT offset, INT segments, float tension);
  bool DrawCurve3I(const PlusPen& pen, const std::vector<PointI>& points, INT offset, INT segments, float tension);
  bool DrawClosedCurve(const PlusPen& pen, const std::vector<PointF>& points);
  bool DrawClosedCurveI(const PlusPen& pen, const std::vector<PointI>& points);
  bool DrawClosedCurve2(const PlusPen& pen, const std::vector<PointF>& points, float tension);
  bool DrawClosedCurve2I(const PlusPen& pen, const std::vector<PointI>& points, float tension);
  bool Clear(std::optional<Argb> color = std::nullopt);
  bool FillRectangle(const PlusBrush& brush, float x, float y, float width, float height);
  bool FillRectangleRect(const PlusBrush& brush, const RectF& rect);
  bool FillRectangleI(const PlusBrush& brush, INT x, INT y, INT width, INT height);
  bool FillRectangles(const PlusBrush& brush, const std::vector<RectF>& rects);
  bool FillRectanglesI(const PlusBrush& brush, const std::vector<RectI>& rects);
  bool FillPolygon(const PlusBrush& brush, const std::vector<PointF>& points,
                   std::optional<Gdiplus::FillMode> fillMode = std::nullopt);
  bool FillPolygonI(const PlusBrush& brush, const std::vector<PointI>& points,
                    std::optional<Gdiplus::FillMode> fillMode = std::nullopt);
  bool FillEllipse(const PlusBrush& brush, float x, float y, float width, float height);
  bool FillEllipseI(const PlusBrush& brush, INT x, INT y, INT width, INT height);
  bool FillPie(const PlusBrush& brush, float x, float y, float width, float height, float startAngle, float sweepAngle);
  bool FillPieI(const PlusBrush& brush, INT x, INT y, INT width, INT height, float startAngle, float sweepAngle);
  bool FillPath(const PlusBrush& brush, const PlusPath& path);
  bool FillClosedCurve(const PlusBrush& brush, const std::vector<PointF>& points);
  bool FillClosedCurve2(const PlusBrush& brush, const std::vector<PointF>& points, float tension,
                        std::optional<Gdiplus::FillMode> fillMode = std::nullopt);
  bool FillClosedCurveI(const PlusBrush& brush, const std::vector<PointI>& points);
  bool FillClosedCurve2I(const PlusBrush& brush, const std::vector<PointI>& points, float tension,
                         std::optional<Gdiplus::FillMode> fillMode = std::nullopt);
  bool FillRegion(const PlusBrush& brush, const PlusRegion& region);

  bool DrawString(const std::string& text, const PlusFont& font, const PlusBrush& brush, const RectF& layout,
                  const PlusStringFormat& format);
  bool MeasureString(const std::string& text, const PlusFont& font, const RectF& layout, const PlusStringFormat& format,
                     RectF& boundingBox);
  // Replaces the regions by count new ones, each holding a GDI+ region, and lets GDI+ measure the
  // format's character ranges into them. A negative count is a caller error and aborts.
  bool MeasureCharacterRanges(const std::string& text, const PlusFont& font, const RectF& layout,
                              const PlusStringFormat& format, INT count,
                              std::vector<std::unique_ptr<PlusRegion>>& regions);
  // The text's UTF-16 units as glyph indexes, or as characters with CmapLookup; std::nullopt for
  // the flags gives CmapLookup.
  bool DrawDriverString(const std::string& text, const PlusFont& font, const PlusBrush& brush,
                        const std::vector<PointF>& positions, std::optional<INT> flags, const PlusObject& matrix);
  bool SetTextContrast(UINT contrast);
  UINT GetTextContrast();

  bool DrawImage(const PlusImage& image, float x, float y);
  bool DrawImageI(const PlusImage& image, INT x, INT y);
  // x and y are rounded to the nearest integers.
  bool DrawCachedBitmap(const PlusObject& cachedBitmap, float x, float y);
  // The whole image, stretched into the rectangle.
  bool DrawImageRect(const PlusImage& image, float x, float y, float width, float height,
                     std::optional<Gdiplus::Unit> unit = std::nullopt);
  bool DrawImageRectI(const PlusImage& image, INT x, INT y, INT width, INT height,
                      std::optional<Gdiplus::Unit> unit = std::nullopt);
  // The image into the parallelogram of its upper-left, upper-right and lower-left corners.
  bool DrawImagePoints(const PlusImage& image, float x1, float y1, float x2, float y2, float x3, float y3);
  bool DrawImagePointsI(const PlusImage& image, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3);
  bool DrawImagePointRect(const PlusImage& image, float x, float y, float sourceX, float sourceY, float sourceWidth,
                          float sourceHeight, std::optional<Gdiplus::Unit> unit = std::nullopt);
  bool DrawImagePointRectI(const PlusImage& image, INT x, INT y, INT sourceX, INT sourceY, INT sourceWidth,
                           INT sourceHeight, std::optional<Gdiplus::Unit> unit = std::nullopt);
  // std::nullopt for the unit gives UnitPixel; the attributes must be given.
  bool DrawImageRectRect(const PlusImage& image, float x, float y, float width, float height, float sourceX,
                         float sourceY, float sourceWidth, float sourceHeight, std::optional<Gdiplus::Unit> unit,
                         const PlusImageAttributes& attributes);
  bool DrawImageRectRectI(const PlusImage& image, INT x, INT y, INT width, INT height, INT sourceX, INT sourceY,
                          INT sourceWidth, INT sourceHeight, std::optional<Gdiplus::Unit> unit,
                          const PlusImageAttributes& attributes);
  bool DrawImagePointsRect(const PlusImage& image, float x1, float y1, float x2, float y2, float x3, float y3,
                           float sourceX, float sourceY, float sourceWidth, float sourceHeight,
                           std::optional<Gdiplus::Unit> unit, const PlusImageAttributes& attributes);
  bool DrawImagePointsRectI(const PlusImage& image, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT sourceX,
                            INT sourceY, INT sourceWidth, INT sourceHeight, std::optional<Gdiplus::Unit> unit,
                            const PlusImageAttributes& attributes);

  // The metafile is any object of the layer that holds a GDI+ metafile; GDI+ calls the callback
  // with the callback data for each of its records.
  bool EnumerateMetafileDestPoint(const PlusObject& metafile, const PointF& destination,
                                  Gdiplus::EnumerateMetafileProc callback, void* callbackData,
                                  const PlusImageAttributes& attributes);
  bool EnumerateMetafileDestPointI(const PlusObject& metafile, const PointI& destination,
                                   Gdiplus::EnumerateMetafileProc callback, void* callbackData,
                                   const PlusImageAttributes& attributes);
  bool EnumerateMetafileDestPoints(const PlusObject& metafile, const std::vector<PointF>& destination,
                                   Gdiplus::EnumerateMetafileProc callback, void* callbackData,
                                   const PlusImageAttributes& attributes);
  bool EnumerateMetafileDestPointsI(const PlusObject& metafile, const std::vector<PointI>& destination,
                                    Gdiplus::EnumerateMetafileProc callback, void* callbackData,
                                    const PlusImageAttributes& attributes);
  bool EnumerateMetafileDestRect(const PlusObject& metafile, const RectF& destination,
                                 Gdiplus::EnumerateMetafileProc callback, void* callbackData,
                                 const PlusImageAttributes& attributes);
  bool EnumerateMetafileDestRectI(const PlusObject& metafile, const RectI& destination,
                                  Gdiplus::EnumerateMetafileProc callback, void* callbackData,
                                  const PlusImageAttributes& attributes);
  bool EnumerateMetafileSrcRectDestPoint(const PlusObject& metafile, const PointF& destination, const RectF& source,
                                         Gdiplus::Unit sourceUnit, Gdiplus::EnumerateMetafileProc callback,
                                         void* callbackData, const PlusImageAttributes& attributes);
  bool EnumerateMetafileSrcRectDestPointI(const PlusObject& metafile, const PointI& destination, const RectI& source,
                                          Gdiplus::Unit sourceUnit, Gdiplus::EnumerateMetafileProc callback,
                                          void* callbackData, const PlusImageAttributes& attributes);
  bool EnumerateMetafileSrcRectDestPoints(const PlusObject& metafile, const std::vector<PointF>& destination,
                                          const RectF& source, Gdiplus::Unit sourceUnit,
                                          Gdiplus::EnumerateMetafileProc callback, void* callbackData,
                                          const PlusImageAttributes& attributes);
  bool EnumerateMetafileSrcRectDestPointsI(const PlusObject& metafile, const std::vector<PointI>& destination,
                                           const RectI& source, Gdiplus::Unit sourceUnit,
                                           Gdiplus::EnumerateMetafileProc callback, void* callbackData,
                                           const PlusImageAttributes& attributes);
  bool EnumerateMetafileSrcRectDestRect(const PlusObject& metafile, const RectF& destination, const RectF& source,
                                        Gdiplus::Unit sourceUnit, Gdiplus::EnumerateMetafileProc callback,
                                        void* callbackData, const PlusImageAttributes& attributes);
  bool EnumerateMetafileSrcRectDestRectI(const PlusObject& metafile, const RectI& destination, const RectI& source,
                                         Gdiplus::Unit sourceUnit, Gdiplus::EnumerateMetafileProc callback,
                                         void* callbackData, const PlusImageAttributes& attributes);

  bool SetClipGraphics(const PlusGraphics& other, std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool SetClipPath(const PlusPath& path, std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool SetClipRect(float x, float y, float width, float height,
                   std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool SetClipRectI(INT x, INT y, INT width, INT height, std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool SetClipRegion(const PlusRegion& region, std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool SetClipHrgn(HRGN region, std::optional<Gdiplus::CombineMode> mode = std::nullopt);
  bool ResetClip();
  bool TranslateClip(float dx, float dy);
  bool TranslateClipI(INT dx, INT dy);
  // GDI+ copies the clip into the region that the target holds.
  bool GetClip(PlusRegion& region);
  RectF GetClipBounds();
  RectI GetClipBoundsI();
  RectF GetVisibleClipBounds();
  RectI GetVisibleClipBoundsI();
  bool IsClipEmpty();
  bool IsVisibleClipEmpty();
  bool IsVisiblePoint(float x, float y);
  bool IsVisiblePointI(INT x, INT y);
  bool IsVisibleRect(float x, float y, float width, float height);
  bool IsVisibleRectI(INT x, INT y, INT width, INT height);
  Gdiplus::GraphicsState Save();
  bool Restore(Gdiplus::GraphicsState state);
  Gdiplus::GraphicsContainer BeginContainer(const RectF& destination, const RectF& source,
                                            std::optional<Gdiplus::Unit> unit = std::nullopt);
  Gdiplus::GraphicsContainer BeginContainerI(const RectI& destination, const RectI& source,
                                             std::optional<Gdiplus::Unit> unit = std::nullopt);
  Gdiplus::GraphicsContainer BeginContainer2();
  bool EndContainer(Gdiplus::GraphicsContainer state);
  // Adds the bytes as a comment record to the metafile the graphics records into.
  bool Comment(const ByteBuffer& data);

 private:
  // Gives the handle that a create wrote into graphicsHandle to SetHandle, then records the status.
  bool Created(Gdiplus::Status status);

  Gdiplus::GpGraphics* graphicsHandle = nullptr;
};

}  // namespace tavrel::plus
