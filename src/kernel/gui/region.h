#pragma once
// A region: a rectangle of the screen in whole pixels, placed from its object
// name, that the window manager hit-tests, drags by its caption, resizes by
// its bottom-right corner and docks against other views' edges.
//
// The object name is "X Y W H Title": X and W as fractions of the viewport
// width, Y and H of its height. X and Y may be GUI_CENTERED (centred in the
// parent), W may be GUI_TITLE_WIDTH (8 pixels a title character) and H
// GUI_TITLE_HEIGHT (16 pixels). Other positions are relative to the parent's
// top-left corner once the region joins it.

#include <cstdint>

#include "kernel/gui/responder.h"
#include "libraries/classes/uiscale.h"

class tGUIRegion : public tGUIResponder {
    Z_DECLARE_CLASS(tGUIRegion, tGUIResponder)
public:
    static constexpr int32_t CornerSize = 15;
    static constexpr int32_t DockingDistance = 7;   // edges closer than this snap together
    static constexpr int32_t MinimalSize = 16;
    // Laid out for 1024 x 768; the text and what holds it grow with UIScale.
    static constexpr int32_t BaseCaptionHeight = 22, BaseTitleCharWidth = 8, BaseTitleHeight = 16;
    static int32_t CaptionHeight() { return ScaledPixels(BaseCaptionHeight); }
    static int32_t TitleCharWidth() { return ScaledPixels(BaseTitleCharWidth); }
    static int32_t TitleHeight() { return ScaledPixels(BaseTitleHeight); }

    explicit tGUIRegion(const ShortString& Params);

    void Render() override {}
    void RenderHierarchy() override;
    // Children are placed in their parent: centred, or moved by its corner.
    void AddChildAtom(tGUIAtom* Atom) override;

    virtual void ProcessDocking(TDockingType Type, int32_t& NX, int32_t& NY, int32_t& NW, int32_t& NH);
    // Snaps the corner (NX, NY) of a W x H rectangle to this region's edges.
    virtual void DockCoordsToThisRegion(int32_t& NX, int32_t& NY, int32_t H, int32_t W);
    // Snaps the right and bottom edges of the rectangle at (X0, Y0) to this
    // region's edges by changing its size NW x NH.
    virtual void DockSizeToThisRegion(int32_t X0, int32_t Y0, int32_t& NW, int32_t& NH);
    // Draws the region and its children when visible; for the topmost region.
    virtual void RenderTopmostRegion();
    virtual void SetParameters(int32_t NX, int32_t NY, int32_t NW, int32_t NH, const ShortString& Title);
    virtual void Local2Screen(TPoint& P);
    virtual void Screen2Local(TPoint& P);
    virtual void Drag(const TPoint& P);
    virtual void MoveTo(int32_t NX, int32_t NY);
    virtual void MoveRel(int32_t DX, int32_t DY);
    virtual void SetSize(int32_t NW, int32_t NH);
    virtual void ResizeCornerTo(const TPoint& P);
    // The deepest region under P: this one, a child, or nullptr.
    virtual tGUIRegion* FindRegion(const TPoint& P);
    virtual bool Contains(TPoint P);
    virtual bool ContainsRightCorner(TPoint P);
    virtual bool CaptionContains(TPoint P);
    virtual bool CaptionCloseButtonContains(TPoint P) { return false; }
    virtual bool IsRegionDockable() { return false; }
    virtual bool IsRegionDraggable() { return false; }
    virtual bool IsRegionSizeable() { return false; }
    virtual bool IsMinimized() { return FRegionState == REGION_MINIMIZED; }
    virtual bool IsMaximized() { return FRegionState == REGION_MAXIMIZED; }
    virtual void Maximize() { FRegionState = REGION_MAXIMIZING; }
    virtual void Minimize() { FRegionState = REGION_MINIMIZING; }
    virtual int32_t SuggestMinimalWidth() { return MinimalSize; }
    virtual int32_t SuggestMinimalHeight() { return MinimalSize; }
    // Centres the region in Parent where its name asks for it, otherwise
    // moves it by Parent's corner.
    void PreCenter(tGUIRegion* Parent);

    void GUI_MouseInside(const TPoint& P) override;
    void GUI_MouseOutside(const TPoint& P) override;
    void GUI_StartDragging(const TPoint& P) override;
    void GUI_StopDragging(const TPoint& P) override { FBeenDragged = false; }
    void GUI_StartResize(const TPoint& P) override;
    void GUI_StopResize(const TPoint& P) override { FBeenSized = false; }

    bool FMouseOver = false;
    TPoint FMousePos;
    ShortString FRegionTitle;
    bool FBeenDragged = false;
    bool FBeenSized = false;
    TPoint FDraggedAtPoint;
    int32_t FDragDeltaX = 0, FDragDeltaY = 0;
    TRegionState FRegionState = REGION_MAXIMIZED;
    bool FVisible = true;
    int32_t X = 0, Y = 0, W = 0, H = 0, X1 = 0, Y1 = 0;
    int32_t MaximizeHeight = 0;

protected:
    // Whether this region is the window manager's topmost one, drawn last.
    bool IsTopmost();

private:
    bool CenteredX = false, CenteredY = false;
};
