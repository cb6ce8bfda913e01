// Colour map times detail (x 2, so the mid-grey detail keeps the tone). The
// detail fades out before the distant shader takes over; fog and detail
// weights come from the vertices.
uniform sampler2D Texture0;
uniform sampler2D Texture1;
uniform vec4 SceneFogColor;

varying vec2 ColorCoord;
varying vec2 DetailCoord;
varying float Near;
varying float Fog;

void main() {
    vec3 Color = texture2D(Texture0, ColorCoord).rgb;
    vec3 Detail = texture2D(Texture1, DetailCoord).rgb * 2.0;
    Color *= mix(vec3(1.0), Detail, Near);
    gl_FragColor = vec4(mix(Color, SceneFogColor.rgb, Fog), 1.0);
}
