#pragma once
// Mesh actors: actors drawn as a mesh from the resources manager, loaded by
// file name at a given width when they enter the world. tMeshActor is the
// base of the aircraft; tBoxActor is the boulder, a plain obstacle that
// stays where its mesh puts it.

#include <cstdint>

#include "kernel/world/spawnable.h"
#include "libraries/math/matrix.h"

class tMeshResource;

class tMeshActor : public tActor {
    Z_DECLARE_CLASS(tMeshActor, tActor)
public:
    // Name carries the start position: "x y z".
    explicit tMeshActor(const ShortString& Name);
    ~tMeshActor() override;

    // Moves to the start position, then loads the mesh and joins the world.
    void Spawned() override;
    void Render() override;
    // The mesh placed at Position, turned by Rotation.
    void RenderPosed(const TVector3& Position, const TMatrix4& Rotation);

    tMeshResource* SceneNode = nullptr;  // owned replica; none until spawned
    int32_t MeshSize = 0;                // width the mesh is loaded at
    ShortString MeshFileName;

protected:
    // Parsed from the name; handed to SetPosition once the derived classes
    // are built.
    TVector3 StartPosition = {0, 0, 0};
};

class tBoxActor : public tMeshActor {
    Z_DECLARE_CLASS(tBoxActor, tMeshActor)
public:
    static constexpr const char* BoulderMesh = "box\\boulder_normals.ase";
    static constexpr int32_t BoulderSize = 5;

    explicit tBoxActor(const ShortString& Name);
    // The boulder stays at its mesh's own place.
    void SetPosition(const TVector3&) override {}
};
