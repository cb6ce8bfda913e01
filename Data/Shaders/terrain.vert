// Terrain vertices are world positions (one unit per height-map sample).
// DeltaTex.xy maps them onto the colour map (1 / map size), DeltaTex.zw onto
// the detail texture (tiles / map size).
uniform vec4 DeltaTex;

varying vec2 ColorCoord;
varying vec2 DetailCoord;
varying vec3 WorldPos;

void main() {
    ColorCoord = gl_Vertex.xy * DeltaTex.xy;
    DetailCoord = gl_Vertex.xy * DeltaTex.zw;
    WorldPos = gl_Vertex.xyz;
    // The water line is a user clip plane: clip in eye space.
    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();
}
