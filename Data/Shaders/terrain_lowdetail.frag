// The colour map with the same fog as the near terrain.
uniform sampler2D Texture0;
uniform vec4 SceneFogColor;

varying vec2 ColorCoord;
varying float Fog;

void main() {
    vec3 Color = texture2D(Texture0, ColorCoord).rgb;
    gl_FragColor = vec4(mix(Color, SceneFogColor.rgb, Fog), 1.0);
}
