// The sea's vertices carry no texture coordinates: the ripples are laid out
// from the world position, DeltaTex.xy and DeltaTex.zw giving the two layers'
// scales, and drift with the world's time.
uniform vec4 DeltaTex;
uniform float WorldTime;

varying vec2 Ripples;
varying vec2 CrossRipples;
varying vec2 Swell;
varying vec3 WorldPos;

void main() {
    Ripples = gl_Vertex.xy * DeltaTex.xy + WorldTime * vec2(0.031, 0.017);
    CrossRipples = gl_Vertex.yx * DeltaTex.zw - WorldTime * vec2(0.023, -0.012);
    Swell = gl_Vertex.xy * DeltaTex.xy * 0.07 + WorldTime * vec2(0.004, 0.006);
    WorldPos = gl_Vertex.xyz;
    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();
}
