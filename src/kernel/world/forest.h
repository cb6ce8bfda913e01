#pragma once
// Vegetation. The terrain plants trees in a forest when it is spawned; the
// virgin forest turns them into crossed billboards (two upright 4 x 4 quads
// through each trunk) in one vertex array, rebuilt at the next update after
// trees were added and drawn in one call.

#include <cstdint>
#include <vector>

#include "kernel/world/spawnable.h"

class tShaderResource;
class tVertexArray;

class tForest : public tActor {
    Z_DECLARE_CLASS(tForest, tActor)
public:
    tForest() = default;
    explicit tForest(const ShortString& Name) : tActor(Name) {}

    // A tree standing on the ground height H at (X, Y).
    virtual void AddVegetation(float X, float Y, float H) = 0;
    // The trees closer than Radius to (X, Y) are gone (a crater took them).
    virtual void RemoveVegetation(float X, float Y, float Radius) {}
};

class tVirginForest : public tForest {
    Z_DECLARE_CLASS(tVirginForest, tForest)
public:
    static constexpr int32_t MaxVegetations = 40000;
    static constexpr float TreeHalfWidth = 2.0f;
    static constexpr float TreeHeight = 4.0f;

    explicit tVirginForest(const ShortString& Name);
    ~tVirginForest() override;

    void Update(float DeltaSeconds) override;
    void Render() override;
    void RenderReflection() override {}
    // Cut out along the picture's alpha: solid where drawn.
    bool IsOpaque() override { return true; }
    void SetPosition(const TVector3&) override {}
    // A full forest ignores further trees (with one warning).
    void AddVegetation(float X, float Y, float H) override;
    // The billboards are rewritten in place at the next drawing (the array
    // may still be read by the drawing queued before): nothing is allocated.
    void RemoveVegetation(float X, float Y, float Radius) override;
    void RegenerateForest();

    int32_t TotalVegetations() const { return int32_t(Vegetations.size()); }

    // The integer rectangle of the planted trees; it always holds the origin.
    int32_t MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
    float ForestRadius = 0;
    TVector3 ForestPosition;
    tVertexArray* VA = nullptr;  // owned; nullptr while there are no trees
    tShaderResource* Shader = nullptr;
    std::vector<TVector3> Vegetations;  // (X, Y, ground height)
    bool PendingRegeneration = true;

private:
    // Lays the billboards of every tree into VA.
    void WriteBillboards();

    bool FullWarned = false;
    bool BillboardsStale = false;  // trees went since the billboards were laid
};
