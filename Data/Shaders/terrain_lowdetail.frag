// The colour map with the same fog as the near terrain.
uniform sampler2D Texture0;
uniform vec4 CameraPos;
uniform vec4 SceneFogColor;

varying vec2 ColorCoord;
varying vec3 WorldPos;

const float FogStart = 200.0;
const float FogEnd = 1120.0;

void main() {
    vec3 Color = texture2D(Texture0, ColorCoord).rgb;
    float Fog = smoothstep(FogStart, FogEnd, distance(WorldPos.xy, CameraPos.xy));
    gl_FragColor = vec4(mix(Color, SceneFogColor.rgb, Fog), 1.0);
}
