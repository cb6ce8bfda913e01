#pragma once
// Choices: the check box (a Boolean variable: "True" / "False") and the radio
// group whose radio buttons each stand for one value of the group's
// variable. A radio button takes its value from the layout's "Value"
// property, or its title; a click, Enter or Space selects it, Left and
// Right select its neighbours in the group.

#include "libraries/gui/widget.h"

class tGUICheckBox : public tGUIWidget {
    Z_DECLARE_CLASS(tGUICheckBox, tGUIWidget)
public:
    static constexpr int32_t BoxSize = 16;

    explicit tGUICheckBox(const ShortString& Params);

    void Update() override;
    void Render() override;
    ShortString GetValueText() override;
    bool SetValueText(const ShortString& Text) override;
    bool StepValue(int32_t Direction) override;
    void Activate() override;
    void PointAt(const TPoint& P, bool Pressed) override;

    bool Checked = false;

protected:
    tShaderResource* OffShader;
    tShaderResource* OnShader;

private:
    tGUIQuad Box;
};

class tGUIRadioButton;

// Holds its radio buttons (children anywhere below it) and the variable.
class tGUIRadioGroup : public tGUIWidget {
    Z_DECLARE_CLASS(tGUIRadioGroup, tGUIWidget)
public:
    explicit tGUIRadioGroup(const ShortString& Params);

    // The buttons take the focus, not the group.
    bool TakesKeyboardFocus() override { return false; }
    void Render() override;
    ShortString GetValueText() override { return Value; }
    bool SetValueText(const ShortString& Text) override;
    bool StepValue(int32_t Direction) override;
    // Button I (1-based) of the group, in layout order; nullptr past the last.
    tGUIRadioButton* GetButton(int32_t I);
    void Select(tGUIRadioButton* Button);

    ShortString Value;  // the selected button's value; empty when none
};

class tGUIRadioButton : public tGUICheckBox {
    Z_DECLARE_CLASS(tGUIRadioButton, tGUICheckBox)
public:
    explicit tGUIRadioButton(const ShortString& Params);

    void AddParameter(const ShortString& Name, const ShortString& Value) override;
    void Render() override;
    ShortString GetValueText() override { return Value; }
    bool SetValueText(const ShortString& Text) override { return false; }
    bool StepValue(int32_t Direction) override;
    void Activate() override;
    // The group above it, or nullptr.
    tGUIRadioGroup* Group();

    ShortString Value;  // what the group's variable holds when this one is chosen
};
