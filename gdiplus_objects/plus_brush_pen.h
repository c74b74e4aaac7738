// Brushes (the shared brush level, solid and linear gradient) and the pen.
// A matrix or custom line cap argument is any object of the layer whose handle is one.
#pragma once

#include <optional>
#include <vector>

#include "gdiplus_objects/plus_object.h"

namespace tavrel::plus {

// The brush level: its hook keeps brushHandle and lets the brush class keep its own copy.
// The brush classes dispose in their own destructors, while their HandleChanged still runs.
class PlusBrush : public PlusObjectOf<Gdiplus::GpBrush> {
 public:
  ~PlusBrush() override;
  void StoreHandle(void* newHandle) override;
  // Keeps the brush class's own copy of the handle.
  virtual void HandleChanged(void* newHandle) = 0;

  bool Dispose();
  bool Clone(PlusBrush& target) const;
  Gdiplus::BrushType GetType() const;

 protected:
  PlusBrush() = default;
  Gdiplus::GpBrush* brushHandle = nullptr;
};

class PlusSolidBrush : public PlusBrush {
 public:
  PlusSolidBrush() = default;
  ~PlusSolidBrush() override;
  void HandleChanged(void* newHandle) override;

  bool Create(Argb color);
  bool SetColor(Argb color);
  Argb GetColor() const;

 private:
  Gdiplus::GpSolidFill* fillHandle = nullptr;
};

// Every creation makes a brush that tiles (WrapMode 0).
class PlusLinearGradientBrush : public PlusBrush {
 public:
  PlusLinearGradientBrush() = default;
  ~PlusLinearGradientBrush() override;
  void HandleChanged(void* newHandle) override;

  bool CreateFromPoints(const PointF& point1, const PointF& point2, Argb color1, Argb color2);
  bool CreateFromPointsI(const PointI& point1, const PointI& point2, Argb color1, Argb color2);
  // mode: horizontal unless given.
  bool CreateFromRect(const RectF& rect, Argb color1, Argb color2,
                      std::optional<Gdiplus::LinearGradientMode> mode = std::nullopt);
  bool CreateFromRectI(const RectI& rect, Argb color1, Argb color2,
                       std::optional<Gdiplus::LinearGradientMode> mode = std::nullopt);
  // angle in degrees.
  bool CreateFromRectWithAngle(const RectF& rect, Argb color1, Argb color2, float angle,
                               std::optional<bool> isAngleScalable = std::nullopt);
  bool CreateFromRectWithAngleI(const RectI& rect, Argb color1, Argb color2, float angle,
                                std::optional<bool> isAngleScalable = std::nullopt);
  // Both colours are written, 0 when GDI+ fails.
  bool GetColors(Argb& color1, Argb& color2) const;
  bool SetColors(Argb color1, Argb color2);
  // All zeros when GDI+ fails.
  RectF GetRect() const;
  RectI GetRectI() const;
  bool SetGammaCorrection(bool useGamma);
  bool GetGammaCorrection() const;
  // positions must hold as many entries as factors.
  bool SetBlend(const std::vector<float>& factors, const std::vector<float>& positions);
  // The number of blend points, both lists replaced by that many; 0 and untouched on failure.
  INT GetBlend(std::vector<float>& factors, std::vector<float>& positions) const;
  // positions must hold as many entries as colors.
  bool SetPresetBlend(const std::vector<Argb>& colors, const std::vector<float>& positions);
  INT GetPresetBlend(std::vector<Argb>& colors, std::vector<float>& positions) const;
  bool SetSigmaBlend(float focus, float scale);
  bool SetLinearBlend(float focus, float scale);
  Gdiplus::WrapMode GetWrapMode() const;
  bool SetWrapMode(Gdiplus::WrapMode wrap);
  // GDI+ copies the brush's transform into the target's matrix.
  bool GetTransform(PlusObject& target) const;
  bool SetTransform(const PlusObject& matrix);
  bool ResetTransform();
  bool MultiplyTransform(const PlusObject& matrix, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  bool TranslateTransform(float dx, float dy, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  bool ScaleTransform(float sx, float sy, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  // angle in degrees.
  bool RotateTransform(float angle, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);

 private:
  Gdiplus::GpLineGradient* gradientHandle = nullptr;
};

class PlusPen : public PlusObjectOf<Gdiplus::GpPen> {
 public:
  PlusPen() = default;
  ~PlusPen() override;
  void StoreHandle(void* newHandle) override { penHandle = static_cast<Gdiplus::GpPen*>(newHandle); }

  bool Dispose();
  // unit: world unless given.
  bool Create(Argb color, float width, std::optional<Gdiplus::Unit> unit = std::nullopt);
  bool CreateFromBrush(const PlusBrush& brush, float width, std::optional<Gdiplus::Unit> unit = std::nullopt);
  bool Clone(PlusPen& target) const;
  float GetWidth() const;
  bool SetWidth(float width);
  Gdiplus::Unit GetUnit() const;
  // The unit is a number, truncated toward zero (UnitArgument).
  bool SetUnit(double unit);
  // The unit SetUnit gives GDI+ for a number: truncated toward zero.
  static Gdiplus::Unit UnitArgument(double unit);
  bool SetLineCap(Gdiplus::LineCap startCap, Gdiplus::LineCap endCap, Gdiplus::DashCap dashCap);
  // The same as SetLineCap.
  bool SetLineCap2(Gdiplus::LineCap startCap, Gdiplus::LineCap endCap, Gdiplus::DashCap dashCap);
  bool SetStartCap(Gdiplus::LineCap cap);
  bool SetEndCap(Gdiplus::LineCap cap);
  bool SetDashCap(Gdiplus::DashCap cap);
  Gdiplus::LineCap GetStartCap() const;
  Gdiplus::LineCap GetEndCap() const;
  Gdiplus::DashCap GetDashCap() const;
  // The same as GetDashCap.
  Gdiplus::DashCap GetDashCap2() const;
  bool SetLineJoin(Gdiplus::LineJoin join);
  Gdiplus::LineJoin GetLineJoin() const;
  bool SetCustomStartCap(const PlusObject& cap);
  // A new custom line cap into the target.
  bool GetCustomStartCap(PlusObject& target) const;
  bool SetCustomEndCap(const PlusObject& cap);
  bool GetCustomEndCap(PlusObject& target) const;
  bool SetMiterLimit(float limit);
  float GetMiterLimit() const;
  bool SetAlignment(Gdiplus::PenAlignment alignment);
  Gdiplus::PenAlignment GetAlignment() const;
  bool SetTransform(const PlusObject& matrix);
  // GDI+ copies the pen's transform into the target's matrix.
  bool GetTransform(PlusObject& target) const;
  bool ResetTransform();
  bool MultiplyTransform(const PlusObject& matrix, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  bool RotateTransform(float angle, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  bool ScaleTransform(float sx, float sy, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  bool TranslateTransform(float dx, float dy, std::optional<Gdiplus::MatrixOrder> order = std::nullopt);
  Argb GetColor() const;
  bool SetColor(Argb color);
  bool SetBrush(const PlusBrush& brush);
  // A new brush into the target.
  bool GetBrush(PlusBrush& target) const;
  Gdiplus::PenType GetPenType() const;
  bool SetDashStyle(Gdiplus::DashStyle style);
  Gdiplus::DashStyle GetDashStyle() const;
  float GetDashOffset() const;
  bool SetDashOffset(float offset);
  // The number of dash entries, the list replaced by that many; 0 and untouched on failure.
  INT GetDashPattern(std::vector<float>& pattern) const;
  bool SetDashPattern(const std::vector<float>& pattern);
  bool SetCompoundArray(const std::vector<float>& values);
  INT GetCompoundArray(std::vector<float>& values) const;

 private:
  Gdiplus::GpPen* penHandle = nullptr;
};

}  // namespace tavrel::plus
