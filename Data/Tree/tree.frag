// Alpha cut-out: the transparent part of the picture is not drawn at all, so
// the trees need no sorting. Fogged as the terrain they stand on.
uniform sampler2D Texture0;
uniform vec4 CameraPos;
uniform vec4 SceneFogColor;

varying vec2 PictureCoord;
varying vec3 WorldPos;

const float FogStart = 200.0;
const float FogEnd = 1120.0;

void main() {
    vec4 Texel = texture2D(Texture0, PictureCoord);
    if (Texel.a < 0.5) discard;
    float Fog = smoothstep(FogStart, FogEnd, distance(WorldPos.xy, CameraPos.xy));
    gl_FragColor = vec4(mix(Texel.rgb, SceneFogColor.rgb, Fog), 1.0);
}
