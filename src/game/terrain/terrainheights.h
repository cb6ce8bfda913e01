#pragma once
// The terrain's answers about heights, kept apart from its drawing: how low a
// camera or an aircraft may go over each sample, and which sample lies under
// a point of the world.

#include <cstdint>
#include <vector>

class tHeightMapResource;

// An inclusive rectangle of sample coordinates.
struct TSampleRect {
    int32_t X0 = 0, Y0 = 0, X1 = -1, Y1 = -1;
    bool Empty() const { return X1 < X0 || Y1 < Y0; }
    bool Overlaps(int32_t OX0, int32_t OY0, int32_t OX1, int32_t OY1) const {
        return !Empty() && X0 <= OX1 && OX0 <= X1 && Y0 <= OY1 && OY0 <= Y1;
    }
    TSampleRect Grown(int32_t By) const { return {X0 - By, Y0 - By, X1 + By, Y1 + By}; }
};

// The nearest sample column or row of a world coordinate, kept within a
// margin around a map of Size samples; coordinates that are not finite fall
// on the border.
int32_t SampleIndex(float V, int32_t Size);

class tCameraHeightTable {
public:
    // Nothing flies lower than this over any point.
    static constexpr float MinFlightHeight = 7.4f;
    // The camera keeps this far above the highest sample around it, and the
    // table never holds less than the floor.
    static constexpr float CameraClearance = 5.0f;
    static constexpr float CameraFloor = 3.0f;

    // For every sample: the highest of its 3 x 3 neighbourhood plus the
    // clearance.
    void Build(tHeightMapResource& HeightMap);
    // After the samples of Changed were altered: the entries that see them.
    void Refresh(tHeightMapResource& HeightMap, const TSampleRect& Changed);
    // Over the map (1..Size): the table's value, at least MinFlightHeight;
    // off the map MinFlightHeight.
    float Lowest(int32_t X, int32_t Y) const;

    int32_t Size = 0;
    std::vector<float> Heights;  // Size x Size, X the slow index

private:
    void Fill(tHeightMapResource& HeightMap, const TSampleRect& Entries);
};
