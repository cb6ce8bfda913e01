// Colour map times detail (x 2, so the mid-grey detail keeps the tone). The
// detail fades out before the distant shader takes over; the fog, by
// horizontal distance, is complete before terrain 1200 units away is culled.
uniform sampler2D Texture0;
uniform sampler2D Texture1;
uniform vec4 CameraPos;
uniform vec4 SceneFogColor;

varying vec2 ColorCoord;
varying vec2 DetailCoord;
varying vec3 WorldPos;

const float DetailFull = 40.0;
const float DetailGone = 130.0;
const float FogStart = 200.0;
const float FogEnd = 1120.0;

void main() {
    vec3 Color = texture2D(Texture0, ColorCoord).rgb;
    vec3 Detail = texture2D(Texture1, DetailCoord).rgb * 2.0;
    float Near = 1.0 - smoothstep(DetailFull, DetailGone, distance(WorldPos, CameraPos.xyz));
    Color *= mix(vec3(1.0), Detail, Near);
    float Fog = smoothstep(FogStart, FogEnd, distance(WorldPos.xy, CameraPos.xy));
    gl_FragColor = vec4(mix(Color, SceneFogColor.rgb, Fog), 1.0);
}
