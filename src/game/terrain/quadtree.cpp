#include "game/terrain/quadtree.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/terrain/quadtreeleaf.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/resources/heightmapresource.h"
#include "kernel/world/camera.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tQuadTreeSector, .Operations = {{"Render", ZOP_ABSTRACT},
                                                  {"Init"},
                                                  {"Refresh", ZOP_ABSTRACT},
                                                  {"EvaluateLOD", ZOP_ABSTRACT},
                                                  {"GetLOD", ZOP_ABSTRACT},
                                                  {"FindSector", ZOP_ABSTRACT},
                                                  {"IsInsideSector"},
                                                  {"IsVisible"},
                                                  {"IsInsideFrustum"},
                                                  {"GetBoundingBox"}})
Z_IMPLEMENT_CLASS(tQuadTreeNode, .Operations = {{"Render"}, {"Refresh"}, {"EvaluateLOD"}, {"GetLOD"}, {"FindSector"}})
Z_IMPLEMENT_CLASS(tQuadTree, .Operations = {{"Render"},
                                            {"SetupNeighbors"},
                                            {"CreateTree"},
                                            {"SetLODLimit"},
                                            {"GetLODLimit"},
                                            {"FindSector"},
                                            {"GetRoot"},
                                            {"GetGranularity"}})

// ---- tQuadTreeSector ----------------------------------------------------------

tQuadTreeSector::tQuadTreeSector(int32_t NewX, int32_t NewY, int32_t NewX1, int32_t NewY1,
                                 tHeightMapResource* NewHeightMap, tQuadTree* NewQuadTree)
    : HeightMap(NewHeightMap), X(NewX), Y(NewY), X1(NewX1), Y1(NewY1), QuadTree(NewQuadTree) {
    Logger->Guard(QuadTree && QuadTree->DynamicCast(&tQuadTree::ClassInfo), "QuadTree isn't a tQuadTree object");
    float Lowest = 2147483648.0f, Highest = -2147483648.0f;
    for (int32_t PX = X; PX <= X1; ++PX)
        for (int32_t PY = Y; PY <= Y1; ++PY) {
            const float H = HeightMap->LandscapeHeight(PX, PY);
            Lowest = std::min(Lowest, H);
            Highest = std::max(Highest, H);
        }
    BoundingBox.Min = {float(X), float(Y), Lowest};
    BoundingBox.Max = {float(X1), float(Y1), Highest};
    BoundingBox.Center = {(BoundingBox.Min.x + BoundingBox.Max.x) / 2, (BoundingBox.Min.y + BoundingBox.Max.y) / 2,
                          (BoundingBox.Min.z + BoundingBox.Max.z) / 2};
    BoundingBox.W = BoundingBox.Max.x - BoundingBox.Min.x;
    BoundingBox.H = BoundingBox.Max.y - BoundingBox.Min.y;
    BoundingBox.D = BoundingBox.Max.z - BoundingBox.Min.z;
}

void tQuadTreeSector::WidenBoundingBox(float Low, float High) {
    BoundingBox.Min.z = std::min(BoundingBox.Min.z, Low);
    BoundingBox.Max.z = std::max(BoundingBox.Max.z, High);
    BoundingBox.Center.z = (BoundingBox.Min.z + BoundingBox.Max.z) / 2;
    BoundingBox.D = BoundingBox.Max.z - BoundingBox.Min.z;
}

bool tQuadTreeSector::IsInsideSector(int32_t PX, int32_t PY) const { return X <= PX && PX < X1 && Y <= PY && PY < Y1; }

bool tQuadTreeSector::IsVisible() { return IsInsideFrustum(); }

bool tQuadTreeSector::IsInsideFrustum() {
    return Engine->Renderer->CullBoxAgainstFrustum(BoundingBox) != OUTSIDE_FRUSTUM;
}

// ---- tQuadTreeNode ------------------------------------------------------------

tQuadTreeNode::tQuadTreeNode(int32_t NewX, int32_t NewY, int32_t NewX1, int32_t NewY1,
                             tHeightMapResource* NewHeightMap, tQuadTree* NewQuadTree)
    : tQuadTreeSector(NewX, NewY, NewX1, NewY1, NewHeightMap, NewQuadTree) {
    const int32_t MX = X + (X1 - X) / 2, MY = Y + (Y1 - Y) / 2;
    const bool Leaves = std::abs(X1 - X) < LeafExtentLimit || std::abs(Y1 - Y) < LeafExtentLimit;
    const int32_t Bounds[4][4] = {{X, Y, MX, MY}, {MX, Y, X1, MY}, {X, MY, MX, Y1}, {MX, MY, X1, Y1}};
    for (int32_t I = 0; I < 4; ++I) {
        const auto& B = Bounds[I];
        if (Leaves)
            SubNodes[I] = NewObject<tQuadTreeLeaf>(B[0], B[1], B[2], B[3], HeightMap, QuadTree);
        else
            SubNodes[I] = NewObject<tQuadTreeNode>(B[0], B[1], B[2], B[3], HeightMap, QuadTree);
    }
}

tQuadTreeNode::~tQuadTreeNode() {
    for (tQuadTreeSector*& Child : SubNodes)
        if (Child) DisposeObject(Child);
}

// Nearest quarter first: the depth test then rejects much of what lies
// behind before it is shaded.
void tQuadTreeNode::Render() {
    if (!IsInsideFrustum()) return;
    const TVector3& Camera = QuadTree->LastFrameCameraPos;
    float Distance[4];
    tQuadTreeSector* Order[4];
    for (int32_t I = 0; I < 4; ++I) {
        const TVector3& C = SubNodes[I]->BoundingBox.Center;
        const float D = (C.x - Camera.x) * (C.x - Camera.x) + (C.y - Camera.y) * (C.y - Camera.y);
        int32_t J = I;
        for (; J > 0 && Distance[J - 1] > D; --J) {
            Distance[J] = Distance[J - 1];
            Order[J] = Order[J - 1];
        }
        Distance[J] = D;
        Order[J] = SubNodes[I];
    }
    for (tQuadTreeSector* Child : Order) Child->Render();
}

void tQuadTreeNode::Refresh() {
    for (tQuadTreeSector* Child : SubNodes) Child->Refresh();
}

void tQuadTreeNode::EvaluateLOD() {
    for (tQuadTreeSector* Child : SubNodes) Child->EvaluateLOD();
}

// Only leaves have a level; asking a node is a programming error.
int32_t tQuadTreeNode::GetLOD() {
    Logger->Fatal("Unable to calculate LOD for tQuadTreeNode");
    return 0;
}

tQuadTreeSector* tQuadTreeNode::FindSector(int32_t PX, int32_t PY) {
    for (tQuadTreeSector* Child : SubNodes)
        if (Child->IsInsideSector(PX, PY)) return Child->FindSector(PX, PY);
    return nullptr;
}

// ---- tQuadTree ----------------------------------------------------------------

tQuadTree::tQuadTree() { ProcTrace trace("tQuadTree.Init()"); }

tQuadTree::~tQuadTree() {
    ProcTrace trace("tQuadTree.Done()");
    if (Root) DisposeObject(Root);
}

void tQuadTree::CreateTree(tHeightMapResource* NewHeightMap) {
    ProcTrace trace("tQuadTree.CreateTree()");
    Logger->Guard(!Root, "tQuadTree.CreateTree() shouldn't be called twice");
    HeightMap = NewHeightMap;
    Root = NewObject<tQuadTreeNode>(1, 1, HeightMap->Size, HeightMap->Size, HeightMap, this);
    SetupNeighbors();
}

void tQuadTree::SetupNeighbors() {
    ProcTrace trace("tQuadTree.SetupNeighbors()");
    Root->Refresh();
}

tQuadTreeSector* tQuadTree::FindSector(int32_t PX, int32_t PY) {
    Logger->Log("Looking for sector at (" + Int2Str(PX) + "," + Int2Str(PY) + ")");
    return Root->FindSector(PX, PY);
}

namespace {
// Calls Visit for every sector over Rect, parents before children.
template <class TVisit>
void VisitSectorsOver(tQuadTreeSector* Sector, const TSampleRect& Rect, const TVisit& Visit) {
    if (!Sector || !Sector->Overlaps(Rect)) return;
    Visit(Sector);
    if (auto* Node = dynamic_cast<tQuadTreeNode*>(Sector))
        for (tQuadTreeSector* Child : Node->SubNodes) VisitSectorsOver(Child, Rect, Visit);
}
}  // namespace

int32_t tQuadTree::LeavesOver(const TSampleRect& Rect, tQuadTreeLeaf** Out, int32_t Max) {
    int32_t Count = 0;
    VisitSectorsOver(Root, Rect, [&](tQuadTreeSector* Sector) {
        if (auto* Leaf = dynamic_cast<tQuadTreeLeaf*>(Sector); Leaf && Count < Max) Out[Count++] = Leaf;
    });
    return Count;
}

void tQuadTree::WidenBoxesOver(const TSampleRect& Rect, float Low, float High) {
    VisitSectorsOver(Root, Rect, [&](tQuadTreeSector* Sector) { Sector->WidenBoundingBox(Low, High); });
}

void tQuadTree::Render() {
    Logger->Guard(Root, "Quadtree root isn't assigned");
    // Without a world camera the leaves keep the last position they were given.
    tWorld* World = Engine->GetWorld();
    if (tCamera* Camera = World ? World->GetCamera() : nullptr) LastFrameCameraPos = Camera->GetCameraPosition();
    Root->EvaluateLOD();
    Root->Render();
}
