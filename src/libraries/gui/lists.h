#pragma once
// Lists of choices. Each item of the layout's TEXTITEM lists is "Label" or
// "Label=Value"; the bound variable holds the chosen item's value (its label
// when it has none).
// - tGUIListBox: one item a row, the chosen one highlighted; a click or Up /
//   Down chooses (Up on the first and Down on the last row move the focus
//   on), the wheel scrolls, Enter runs the bound commands.
// - tGUIComboBox: the chosen item and an arrow; a click or Enter opens the
//   list below it, where Up / Down / a click choose and Enter or Escape
//   close; Left / Right choose while it is closed.
// - tGUIComboListBox: a list box that shows each item's label and value in
//   two columns (the controls page's actions and their keys).

#include "libraries/gui/widget.h"

class tGUIListBox : public tGUIWidget {
    Z_DECLARE_CLASS(tGUIListBox, tGUIWidget)
public:
    static constexpr int32_t MaxItems = 64;
    static constexpr int32_t BaseRowHeight = 18;  // at 1024 x 768; grows with the interface
    static int32_t RowHeight() { return ScaledPixels(BaseRowHeight); }
    static constexpr int32_t ThumbWidth = 4;  // the scroll thumb of a long list

    explicit tGUIListBox(const ShortString& Params);

    void AddTextItem(const ShortString& Name, const ShortString& Value) override;
    void Update() override;
    void Render() override;
    bool GUI_Key(uint8_t Key, bool Pressed) override;
    void GUI_Scroll(TDirection Direction) override;
    void PointAt(const TPoint& P, bool Pressed) override;
    ShortString GetValueText() override;
    bool SetValueText(const ShortString& Text) override;
    bool StepValue(int32_t Direction) override;

    void AddItem(const ShortString& Item);
    void ClearItems();
    ShortString ItemLabel(int32_t I) const;
    ShortString ItemValue(int32_t I) const;
    // Chooses item I (0-based, clamped) and commits when it changes.
    void Choose(int32_t I, bool CommitChange);
    int32_t VisibleRows() const { return std::max(1, H / RowHeight()); }

    ShortString Items[MaxItems];
    int32_t ItemCount = 0;
    int32_t Selected = -1;  // none
    int32_t FirstShown = 0;

protected:
    // Draws the rows from Top on, in the box from Left to Right, and a thumb
    // at its right edge that shows which part of a longer list is in view.
    void RenderRows(int32_t Left, int32_t Top, int32_t Right, int32_t Rows, bool TwoColumns);
    // The row (0-based item index) at P, -1 outside.
    int32_t RowAt(const TPoint& P, int32_t Top) const;
    void KeepSelectionShown();

    tGUIQuad Back, Bar, Thumb;
    tShaderResource* BackShader;
    tShaderResource* BarShader;
};

class tGUIComboBox : public tGUIListBox {
    Z_DECLARE_CLASS(tGUIComboBox, tGUIListBox)
public:
    static constexpr int32_t ArrowWidth = 20;
    static constexpr int32_t MaxDropRows = 8;

    explicit tGUIComboBox(const ShortString& Params);

    void Update() override;
    void Render() override;
    // The open list lies below the box and takes the mouse too.
    bool Contains(TPoint P) override;
    bool GUI_Key(uint8_t Key, bool Pressed) override;
    void GUI_Scroll(TDirection Direction) override;
    void PointAt(const TPoint& P, bool Pressed) override;
    bool StepValue(int32_t Direction) override;
    void Activate() override;
    void SetOpen(bool NewOpen);

    bool Open = false;

private:
    int32_t DropRows() const { return std::min(ItemCount, MaxDropRows); }
    tGUIQuad Arrow, Drop;
    tShaderResource* ArrowShader;
};

class tGUIComboListBox : public tGUIListBox {
    Z_DECLARE_CLASS(tGUIComboListBox, tGUIListBox)
public:
    explicit tGUIComboListBox(const ShortString& Params) : tGUIListBox(Params) {}
    void Render() override;
};
