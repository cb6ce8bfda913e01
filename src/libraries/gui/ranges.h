#pragma once
// Numbers between a minimum and a maximum: the gauge (a horizontal bar the
// mouse drags, showing its title and value), the vertical scroller (a track
// with a thumb; the wheel and Page Up / Page Down move it too) and the spin
// box (the value between two arrow buttons). Layout properties "Min", "Max"
// and "Step" set the range (0, 100 and 5 unless given); a value outside the
// range is clamped, and a range with integral minimum and step writes
// integers to its variable.

#include "libraries/gui/widget.h"

class tGUIRangeWidget : public tGUIWidget {
    Z_DECLARE_CLASS(tGUIRangeWidget, tGUIWidget)
public:
    static constexpr float Limit = 1e9f;

    explicit tGUIRangeWidget(const ShortString& Params);

    void AddParameter(const ShortString& Name, const ShortString& Value) override;
    ShortString GetValueText() override;
    bool SetValueText(const ShortString& Text) override;
    bool StepValue(int32_t Direction) override;
    void GUI_Scroll(TDirection Direction) override;

    // Clamped to the range and rounded to whole numbers for an integral
    // range; commits when it changes and Commit is set.
    void SetValue(float NewValue, bool CommitChange);
    // Where the value lies in the range, 0 .. 1.
    float Fraction() const;
    bool IsIntegral() const;

    float Min = 0, Max = 100, Step = 5, Value = 0;
};

class tGUIGauge : public tGUIRangeWidget {
    Z_DECLARE_CLASS(tGUIGauge, tGUIRangeWidget)
public:
    explicit tGUIGauge(const ShortString& Params);
    void Update() override;
    void Render() override;
    void PointAt(const TPoint& P, bool Pressed) override;
    void DragTo(const TPoint& P) override { PointAt(P, false); }

private:
    // The bar's left edge and width: the region less a caption column.
    int32_t BarLeft() const { return X + W * 2 / 5; }
    int32_t BarWidth() const { return X1 - BarLeft(); }
    tGUIQuad Track, Fill;
    tShaderResource* TrackShader;
    tShaderResource* FillShader;
};

class tGUIVerticalScroller : public tGUIRangeWidget {
    Z_DECLARE_CLASS(tGUIVerticalScroller, tGUIRangeWidget)
public:
    static constexpr int32_t ThumbHeight = 20;

    explicit tGUIVerticalScroller(const ShortString& Params);
    void Update() override;
    void Render() override;
    bool GUI_Key(uint8_t Key, bool Pressed) override;
    void PointAt(const TPoint& P, bool Pressed) override;
    void DragTo(const TPoint& P) override { PointAt(P, false); }

private:
    tGUIQuad Track, Thumb;
    tShaderResource* TrackShader;
    tShaderResource* ThumbShader;
    float LastFraction = -1;  // where the thumb was built
};

class tGUISpinBox : public tGUIRangeWidget {
    Z_DECLARE_CLASS(tGUISpinBox, tGUIRangeWidget)
public:
    static constexpr int32_t ArrowWidth = 20;

    explicit tGUISpinBox(const ShortString& Params);
    void Update() override;
    void Render() override;
    void PointAt(const TPoint& P, bool Pressed) override;

private:
    tGUIQuad Box, Down, Up;
    tShaderResource* BoxShader;
    tShaderResource* DownShader;
    tShaderResource* UpShader;
};
