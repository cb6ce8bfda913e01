// The stream image of a vertex array.

#include "common/memorystream.h"
#include "kernel/core/byteorder.h"
#include "renderer/va/va_fixture.h"

namespace {

using ::testing::ExitedWithCode;

constexpr int32_t HeaderBytes = 512;  // the object header
constexpr int32_t InfoBytes = 16;

class ImageTest : public GeometryTest {
protected:
    tVertexArray* Filled(int32_t N, int32_t Tex, TGenNormals GenNormals) {
        tVertexArray* VA = Allocate(N, Tex, GenNormals, PRIM_QUADS);
        TVertexAttribute Arrays[MaxVertexAttributes];
        const int32_t Count = CollectAttributes(*VA, {N, Tex, GenNormals, PRIM_QUADS}, Arrays);
        float Value = 1;
        for (int32_t A = 0; A < Count; ++A)
            for (int32_t I = 0; I < N * Arrays[A].Components; ++I) Arrays[A].Values[I] = Value++;
        return VA;
    }
    uint32_t WordAt(const tMemoryStream& S, std::size_t Offset) { return ReadLE<uint32_t>(S.Bytes().data() + Offset); }
};

TEST_F(ImageTest, ImageHoldsTheActiveVerticesOfEachAllocatedArray) {
    tMemoryStream Plain;
    Filled(3, -1, GN_FALSE)->SaveToStream(Plain);
    EXPECT_EQ(Plain.Bytes().size(), std::size_t(HeaderBytes + InfoBytes + 12 * 3));
    // Allocation record, then the first position, little-endian.
    EXPECT_EQ(WordAt(Plain, HeaderBytes), 3u);
    EXPECT_EQ(WordAt(Plain, HeaderBytes + 4), uint32_t(-1));
    EXPECT_EQ(WordAt(Plain, HeaderBytes + 8), uint32_t(GN_FALSE));
    EXPECT_EQ(WordAt(Plain, HeaderBytes + 12), uint32_t(PRIM_QUADS));
    EXPECT_EQ(WordAt(Plain, HeaderBytes + 16), 0x3F800000u);  // 1.0f

    tMemoryStream Full;
    tVertexArray* VA = Filled(5, 1, GN_TANGENT_BASIS);
    VA->SetActiveVertexCount(4);
    VA->SaveToStream(Full);
    EXPECT_EQ(Full.Bytes().size(), std::size_t(HeaderBytes + InfoBytes + 4 * (4 * 12 + 2 * 8)));
    EXPECT_EQ(WordAt(Full, HeaderBytes), 4u);
}

TEST_F(ImageTest, LoadedArrayEqualsTheSavedOne) {
    tVertexArray* Saved = Filled(3, 2, GN_TANGENT_BASIS);
    tMemoryStream S;
    Saved->SaveToStream(S);
    S.Seek(0);
    tVertexArray* Loaded = Keep(Manager->AllocateEmptyVA());
    Loaded->LoadFromStream(S);
    EXPECT_EQ(S.GetPosition(), S.GetSize());
    ASSERT_EQ(Loaded->GetActiveVertexCount(), 3);
    EXPECT_EQ(Loaded->Primitive(), PRIM_QUADS);
    EXPECT_EQ(Loaded->GetIndices(), Manager->GetCommonIndices());
    EXPECT_EQ(Loaded->GetTexCoords(3), nullptr);
    TVertexAttribute A[MaxVertexAttributes], B[MaxVertexAttributes];
    const TVAAllocationInfo Info = {3, 2, GN_TANGENT_BASIS, PRIM_QUADS};
    const int32_t Count = CollectAttributes(*Saved, Info, A);
    ASSERT_EQ(CollectAttributes(*Loaded, Info, B), Count);
    for (int32_t I = 0; I < Count; ++I)
        EXPECT_TRUE(std::equal(A[I].Values, A[I].Values + 3 * A[I].Components, B[I].Values)) << I;
}

TEST_F(ImageTest, BadImagesAndMisuseAreFatal) {
    tMemoryStream S;
    EXPECT_EXIT(Allocate(0)->SaveToStream(S), ExitedWithCode(255), "Can only save preinitialized array");
    Filled(2, 0, GN_TRUE)->SaveToStream(S);
    S.Seek(0);
    EXPECT_EXIT(Allocate(1)->LoadFromStream(S), ExitedWithCode(255), "Can only load just after constructor call");

    auto LoadPatched = [&](std::size_t Offset, uint8_t Value, std::size_t Size) {
        std::vector<uint8_t> Bytes(S.Bytes().begin(), S.Bytes().begin() + Size);
        Bytes[Offset] = Value;
        tMemoryStream Damaged(std::move(Bytes));
        Keep(Manager->AllocateEmptyVA())->LoadFromStream(Damaged);
    };
    EXPECT_EXIT(LoadPatched(HeaderBytes + 4, 9, S.Bytes().size()), ExitedWithCode(255),
                "Invalid texture set index: Tex=9");
    EXPECT_EXIT(LoadPatched(HeaderBytes + 8, 7, S.Bytes().size()), ExitedWithCode(255), "Unknown GenNormals value");
    EXPECT_EXIT(LoadPatched(HeaderBytes + 3, 0x7F, S.Bytes().size()), ExitedWithCode(255),
                "Vertex array image is truncated");
    EXPECT_EXIT(LoadPatched(HeaderBytes, 2, S.Bytes().size() - 1), ExitedWithCode(255),
                "Vertex array image is truncated");
}

}  // namespace
