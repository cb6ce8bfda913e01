// Ripples over swell; towards the horizon the sea takes on the sky's (fog)
// colour, and the fog closes in as on the terrain.
uniform sampler2D Texture0;
uniform vec4 CameraPos;
uniform vec4 SceneFogColor;

varying vec2 Ripples;
varying vec2 CrossRipples;
varying vec2 Swell;
varying vec3 WorldPos;

const float FogStart = 200.0;
const float FogEnd = 1120.0;

void main() {
    vec3 Color = (texture2D(Texture0, Ripples).rgb + texture2D(Texture0, CrossRipples).rgb) * 0.5;
    Color *= 0.75 + 0.5 * texture2D(Texture0, Swell).g;
    vec3 ToEye = normalize(CameraPos.xyz - WorldPos);
    float Grazing = pow(1.0 - abs(ToEye.z), 4.0);
    Color = mix(Color, SceneFogColor.rgb * 0.8 + vec3(0.1), Grazing * 0.6);
    float Fog = smoothstep(FogStart, FogEnd, distance(WorldPos.xy, CameraPos.xy));
    gl_FragColor = vec4(mix(Color, SceneFogColor.rgb, Fog), 1.0);
}
