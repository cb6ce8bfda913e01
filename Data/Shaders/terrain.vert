// Terrain vertices are world positions (one unit per height-map sample).
// DeltaTex.xy maps them onto the colour map (1 / map size), DeltaTex.zw onto
// the detail texture (tiles / map size). The detail's weight and the fog are
// taken at the vertices: both change slowly across a triangle (the near
// triangles are small where the detail fades, the far ones a few units wide
// against a fog that deepens over hundreds), and a pixel then blends without
// two square roots of its own.
uniform vec4 DeltaTex;
uniform vec4 CameraPos;

varying vec2 ColorCoord;
varying vec2 DetailCoord;
varying float Near;
varying float Fog;

const float DetailFull = 40.0;
const float DetailGone = 130.0;
// The fog, by horizontal distance, is complete before terrain 1200 units
// away is culled.
const float FogStart = 200.0;
const float FogEnd = 1120.0;

void main() {
    ColorCoord = gl_Vertex.xy * DeltaTex.xy;
    DetailCoord = gl_Vertex.xy * DeltaTex.zw;
    Near = 1.0 - smoothstep(DetailFull, DetailGone, distance(gl_Vertex.xyz, CameraPos.xyz));
    Fog = smoothstep(FogStart, FogEnd, distance(gl_Vertex.xy, CameraPos.xy));
    // The water line is a user clip plane: clip in eye space.
    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();
}
