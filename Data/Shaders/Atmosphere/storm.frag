// An overcast sky: folds of cloud from Texture0's noise rolling overhead,
// lit with the colours of Texture1 (from the horizon on the left to the
// zenith on the right), melting into the fog towards the horizon. The
// storm, its lightning and hellfire differ only in that light.
uniform sampler2D Texture0;
uniform sampler2D Texture1;
uniform vec4 SceneFogColor;
uniform float WorldTime;

varying vec3 ViewDir;

const vec2 Wind = vec2(0.014, 0.005);

void main() {
    vec3 View = normalize(ViewDir);
    float Up = max(View.z, 0.0);
    vec2 Layer = View.xy / (Up + 0.08) * 0.3;
    float Folds = texture2D(Texture0, Layer * 0.45 + WorldTime * Wind).r * 0.6
                + texture2D(Texture0, Layer * 1.6 - WorldTime * Wind.yx * 1.3).g * 0.4;
    vec3 Light = texture2D(Texture1, vec2(0.02 + 0.96 * sqrt(Up), 0.5)).rgb;
    vec3 Color = Light * (0.55 + 0.9 * Folds);
    Color = mix(SceneFogColor.rgb, Color, smoothstep(0.0, 0.2, Up));
    gl_FragColor = vec4(Color, 1.0);
}
