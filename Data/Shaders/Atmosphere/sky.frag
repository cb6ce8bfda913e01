// The open sky: single scattering of sunlight by air molecules (Rayleigh) and
// haze (Mie) along the view ray, with the sun's own light dimmed and reddened
// on its way down through the air; the sun disc; clouds from Texture0's
// noise drifting across a layer high above the level. The slowly changing
// light comes from the vertices (scatter.vert); here only the haze's peak
// around the sun, the disc and the clouds. The output is premultiplied: what
// is behind the sky (stars, the planet) shows through where it is thin.
uniform sampler2D Texture0;
uniform vec4 local1;  // unit direction towards the sun
uniform vec4 SceneFogColor;
uniform float WorldTime;

varying vec3 ViewDir;
varying vec3 AirLight;
varying vec3 HazeLight;
varying vec3 DiscLight;
varying vec3 CloudLight;
varying vec2 Weather;

const float MieG = 0.86;             // forward scattering of the haze
const float SunDiscCos = 0.99993;    // a disc of about 0.7 degrees
const float CloudScale = 0.22;       // texture repeats per unit of the cloud layer
const vec2 Wind = vec2(0.006, 0.0025);
const vec3 NightCloud = vec3(0.06, 0.06, 0.08);

void main() {
    vec3 View = normalize(ViewDir);
    float CosTheta = dot(View, local1.xyz);
    // The haze's phase without its constant factor (in HazeLight).
    float Den = 1.0 + MieG * MieG - 2.0 * MieG * CosTheta;
    float Peak = inversesqrt(Den) / Den;
    float Disc = smoothstep(SunDiscCos - 0.00003, SunDiscCos, CosTheta);
    vec3 Sky = 1.0 - exp(-(AirLight + HazeLight * Peak + DiscLight * Disc));

    // Clouds where the view ray meets their layer; thinner and fainter
    // towards the horizon, where the layer is seen edge on.
    vec2 Layer = View.xy / (max(View.z, 0.0) + 0.05) * CloudScale;
    // Broad masses and detail from the two channels of one lookup.
    vec2 Octaves = texture2D(Texture0, Layer * 0.5 + WorldTime * Wind).rg;
    float Noise = Octaves.r * 0.65 + Octaves.g * 0.35;
    float Cover = smoothstep(0.45, 0.75, Noise) * Weather.y;
    // Darker, thicker bases.
    vec3 CloudColor = CloudLight * (1.05 - 0.5 * smoothstep(0.55, 0.95, Noise)) + Sky * 0.2;

    float Day = Weather.x;
    vec3 Color = mix(Sky * Day, mix(NightCloud, CloudColor, Day), Cover);
    // By day the sky hides most of what lies behind it; at night the stars
    // show through everywhere but the clouds.
    float Opacity = mix(mix(0.12, 0.9, Day), 1.0, Cover);
    // The last degrees above the horizon melt into the fog the distant land
    // and sea fade to, so there is no seam where the sky meets them.
    float Clear = smoothstep(-0.01, 0.07, View.z);
    gl_FragColor = vec4(mix(SceneFogColor.rgb, Color, Clear), mix(1.0, Opacity, Clear));
}
