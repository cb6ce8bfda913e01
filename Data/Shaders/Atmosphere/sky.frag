// The open sky: single scattering of sunlight by air molecules (Rayleigh) and
// haze (Mie) along the view ray, with the sun's own light dimmed and reddened
// on its way down through the air; the sun disc; clouds from Texture0's
// noise drifting across a layer high above the level. The output is
// premultiplied: what is behind the sky (stars, the planet) shows through
// where it is thin.
uniform sampler2D Texture0;
uniform vec4 local1;  // unit direction towards the sun
uniform vec4 local2;  // Rayleigh scattering coefficients (r, g, b)
uniform vec4 local3;  // Mie scattering coefficients (r, g, b)
uniform vec4 SceneFogColor;
uniform float WorldTime;

varying vec3 ViewDir;
varying vec3 SunLight;   // sunlight where the air scatters it
varying vec3 DiscLight;  // the sun disc's light at the ground
varying vec3 Through;    // what crosses the air along the view

const float Pi = 3.14159265;
const float MieG = 0.86;             // forward scattering of the haze
const float SunDiscCos = 0.99993;    // a disc of about 0.7 degrees
const float Exposure = 1.5;
const float CloudScale = 0.22;       // texture repeats per unit of the cloud layer
const vec2 Wind = vec2(0.006, 0.0025);

// Night and day come from the weather's fog: bluish by day, grey by night.
float Daylight() {
    return clamp((SceneFogColor.b - SceneFogColor.r - 0.1) * 2.0, 0.0, 1.0);
}

void main() {
    vec3 View = normalize(ViewDir);
    vec3 Sun = local1.xyz;
    vec3 Beta = local2.rgb + local3.rgb;
    float CosTheta = dot(View, Sun);

    float Rayleigh = 3.0 / (16.0 * Pi) * (1.0 + CosTheta * CosTheta);
    float Den = 1.0 + MieG * MieG - 2.0 * MieG * CosTheta;
    float Mie = (1.0 - MieG) * (1.0 - MieG) / (4.0 * Pi * Den * sqrt(Den));
    vec3 InScattered = (local2.rgb * Rayleigh + local3.rgb * Mie * 0.7) / Beta * SunLight * (1.0 - Through);
    vec3 Disc = DiscLight * Through * 40.0 * smoothstep(SunDiscCos - 0.00003, SunDiscCos, CosTheta);
    vec3 Sky = 1.0 - exp(-Exposure * (InScattered + Disc));

    // Clouds where the view ray meets their layer; thinner and fainter
    // towards the horizon, where the layer is seen edge on.
    float Up = max(View.z, 0.0);
    vec2 Layer = View.xy / (Up + 0.05) * CloudScale;
    // Broad masses and detail from the two channels of one lookup.
    vec2 Octaves = texture2D(Texture0, Layer * 0.5 + WorldTime * Wind).rg;
    float Noise = Octaves.r * 0.65 + Octaves.g * 0.35;
    float Cover = smoothstep(0.45, 0.75, Noise) * smoothstep(0.0, 0.2, Up);
    // Clouds are white in sunlight, tinted by it when the sun is low, with
    // darker, thicker bases.
    vec3 CloudLight = 1.0 - exp(-Exposure * mix(vec3(length(SunLight) * 0.577), SunLight, 0.5) * (0.05 + 0.03 * Mie));
    vec3 CloudColor = CloudLight * (1.05 - 0.5 * smoothstep(0.55, 0.95, Noise)) + Sky * 0.2;

    float Day = Daylight();
    vec3 NightCloud = vec3(0.06, 0.06, 0.08);
    vec3 Color = mix(Sky * Day, mix(NightCloud, CloudColor, Day), Cover);
    // By day the sky hides most of what lies behind it; at night the stars
    // show through everywhere but the clouds.
    float Opacity = mix(mix(0.12, 0.9, Day), 1.0, Cover);
    // The last degrees above the horizon melt into the fog the distant land
    // and sea fade to, so there is no seam where the sky meets them.
    float Clear = smoothstep(-0.01, 0.07, View.z);
    gl_FragColor = vec4(mix(SceneFogColor.rgb, Color, Clear), mix(1.0, Opacity, Clear));
}
