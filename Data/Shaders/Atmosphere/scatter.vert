// The scattering sky's per-vertex part: everything that changes slowly
// across the dome (the light the air scatters towards the eye, how much of
// it the haze adds before its sharp forward peak, the clouds' lighting and
// fading, day or night). The fragment program (sky.frag) adds what changes
// from pixel to pixel: the haze's peak around the sun, the sun disc and the
// clouds' texture.
uniform vec4 CameraPos;
uniform vec4 local1;  // unit direction towards the sun
uniform vec4 local2;  // Rayleigh scattering coefficients (r, g, b)
uniform vec4 local3;  // Mie scattering coefficients (r, g, b)
uniform vec4 SceneFogColor;

varying vec3 ViewDir;
varying vec3 AirLight;    // the air's light along the view, brought to exposure
varying vec3 HazeLight;   // the haze's light along the view before its phase
varying vec3 DiscLight;   // the sun disc's light, dimmed by the air
varying vec3 CloudLight;  // sunlit cloud tops
varying vec2 Weather;     // x: daylight (0 night, 1 day); y: how far up the cloud layer is seen

const float Pi = 3.14159265;
const float ZenithPath = 140.0;  // length of air straight up
const float SunIntensity = 45.0;
const float Exposure = 1.5;
const float MieG = 0.86;         // forward scattering of the haze

// Air mass: the path through the air relative to the path straight up
// (Kasten and Young), finite at the horizon.
float AirMass(float SinElevation) {
    float S = max(SinElevation, 0.0);
    float Elevation = degrees(asin(S));
    return 1.0 / (S + 0.50572 * pow(Elevation + 6.07995, -1.6364));
}

// Night and day come from the weather's fog: bluish by day, grey by night.
float Daylight() {
    return clamp((SceneFogColor.b - SceneFogColor.r - 0.1) * 2.0, 0.0, 1.0);
}

void main() {
    ViewDir = gl_Vertex.xyz - CameraPos.xyz;
    vec3 View = normalize(ViewDir);
    vec3 Sun = local1.xyz;
    vec3 Beta = local2.rgb + local3.rgb;
    float SunPath = ZenithPath * AirMass(Sun.z);
    // Light is scattered high up in the air, so the sunlight reaching it has
    // crossed only part of the air on the sun's side; the disc itself is seen
    // through all of it.
    vec3 SunLight = SunIntensity * exp(-Beta * SunPath * 0.2);
    vec3 Through = exp(-Beta * ZenithPath * AirMass(View.z));
    vec3 Scattered = SunLight * (1.0 - Through) / Beta;
    float CosTheta = dot(View, Sun);
    float Rayleigh = 3.0 / (16.0 * Pi) * (1.0 + CosTheta * CosTheta);
    AirLight = Exposure * local2.rgb * Rayleigh * Scattered;
    HazeLight = Exposure * 0.7 * (1.0 - MieG) * (1.0 - MieG) / (4.0 * Pi) * local3.rgb * Scattered;
    DiscLight = Exposure * 40.0 * SunIntensity * exp(-Beta * (SunPath + ZenithPath * AirMass(View.z)));
    // Clouds are white in sunlight, tinted by it when the sun is low, a
    // little brighter towards the sun.
    float Den = 1.0 + MieG * MieG - 2.0 * MieG * CosTheta;
    float Mie = (1.0 - MieG) * (1.0 - MieG) / (4.0 * Pi * Den * sqrt(Den));
    CloudLight = 1.0 - exp(-Exposure * mix(vec3(length(SunLight) * 0.577), SunLight, 0.5) * (0.05 + 0.03 * Mie));
    Weather = vec2(Daylight(), smoothstep(0.0, 0.2, View.z));
    // The water line is a user clip plane: clip in eye space.
    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();
}
