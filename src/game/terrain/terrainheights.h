#pragma once
// The terrain's answers about heights, kept apart from its drawing: how low a
// camera or an aircraft may go over each sample, and which sample lies under
// a point of the world.

#include <cstdint>
#include <vector>

class tHeightMapResource;

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
    // Over the map (1..Size): the table's value, at least MinFlightHeight;
    // off the map MinFlightHeight.
    float Lowest(int32_t X, int32_t Y) const;

    int32_t Size = 0;
    std::vector<float> Heights;  // Size x Size, X the slow index
};
