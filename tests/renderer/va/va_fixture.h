#pragma once
// A geometry server over a manager of arrays in ordinary memory; arrays made
// with Allocate are disposed after the test.

#include <vector>

#include "common/testenv.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "math/mathcheck.h"

class GeometryTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Manager = NewObject<tStdVertexArrayManager>();
        Server = NewObject<tRGeometryServer>();
    }
    void TearDown() override {
        for (tVertexArray*& VA : Arrays) tZObject::DisposeObject(VA);
        tZObject::DisposeObject(Server);
        tZObject::DisposeObject(Manager);
        EngineTest::TearDown();
    }

    tVertexArray* Allocate(int32_t Vertices, int32_t Tex = 0, TGenNormals GenNormals = GN_TRUE,
                           TPrimitiveType Prim = PRIM_QUADS) {
        return Keep(Manager->AllocateVA(Vertices, Tex, GenNormals, Prim));
    }
    tVertexArray* Keep(tVertexArray* VA) {
        Arrays.push_back(VA);
        return VA;
    }
    std::vector<TVector3> Positions(tVertexArray* VA) {
        return {VA->GetVertices(), VA->GetVertices() + VA->GetActiveVertexCount()};
    }

    tVertexArrayManager* Manager = nullptr;
    tRGeometryServer* Server = nullptr;
    std::vector<tVertexArray*> Arrays;
};
