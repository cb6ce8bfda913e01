// The scattering sky's per-vertex part: the light of the sun where the air
// scatters it and at the ground, and how much light crosses the air along
// the view; all three change slowly across the dome. The fragment program
// (sky.frag) adds the angle to the sun, the sun disc and the clouds.
uniform vec4 CameraPos;
uniform vec4 local1;  // unit direction towards the sun
uniform vec4 local2;  // Rayleigh scattering coefficients (r, g, b)
uniform vec4 local3;  // Mie scattering coefficients (r, g, b)

varying vec3 ViewDir;
varying vec3 SunLight;
varying vec3 DiscLight;
varying vec3 Through;

const float ZenithPath = 140.0;  // length of air straight up
const float SunIntensity = 45.0;

// Air mass: the path through the air relative to the path straight up
// (Kasten and Young), finite at the horizon.
float AirMass(float SinElevation) {
    float S = max(SinElevation, 0.0);
    float Elevation = degrees(asin(S));
    return 1.0 / (S + 0.50572 * pow(Elevation + 6.07995, -1.6364));
}

void main() {
    ViewDir = gl_Vertex.xyz - CameraPos.xyz;
    vec3 Beta = local2.rgb + local3.rgb;
    float SunPath = ZenithPath * AirMass(local1.z);
    // Light is scattered high up in the air, so the sunlight reaching it has
    // crossed only part of the air on the sun's side; the disc itself is seen
    // through all of it.
    SunLight = SunIntensity * exp(-Beta * SunPath * 0.2);
    DiscLight = SunIntensity * exp(-Beta * SunPath);
    Through = exp(-Beta * ZenithPath * AirMass(normalize(ViewDir).z));
    // The water line is a user clip plane: clip in eye space.
    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();
}
