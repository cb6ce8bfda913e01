// An overcast sky: folds of cloud from Texture0's noise rolling overhead,
// lit with the colours of Texture1 (from the horizon on the left to the
// zenith on the right, looked up per vertex in storm.vert), melting into
// the fog towards the horizon. The storm, its lightning and hellfire differ
// only in that light.
uniform sampler2D Texture0;
uniform vec4 SceneFogColor;
uniform float WorldTime;

varying vec3 ViewDir;
varying vec3 Light;
varying float Fade;

const vec2 Wind = vec2(0.014, 0.005);

void main() {
    vec3 View = normalize(ViewDir);
    vec2 Layer = View.xy / (max(View.z, 0.0) + 0.08) * 0.3;
    float Folds = texture2D(Texture0, Layer * 0.45 + WorldTime * Wind).r * 0.6
                + texture2D(Texture0, Layer * 1.6 - WorldTime * Wind.yx * 1.3).g * 0.4;
    gl_FragColor = vec4(mix(SceneFogColor.rgb, Light * (0.55 + 0.9 * Folds), Fade), 1.0);
}
