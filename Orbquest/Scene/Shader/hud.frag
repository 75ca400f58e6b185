#version 430 core
// The glyph over its outline, premultiplied: red is the glyph's coverage, green the outline's.

in vec2 atlasCoord;
in vec4 fillColour;

uniform sampler2D glyphs;
uniform vec4 outlineColour;

out vec4 colour;

void main() {
    vec2 coverage = texture(glyphs, atlasCoord).rg;
    vec4 outline = vec4(outlineColour.rgb, 1.0) * outlineColour.a * coverage.g;
    vec4 fill = vec4(fillColour.rgb, 1.0) * fillColour.a * coverage.r;
    colour = fill + (1.0 - fill.a) * outline;
}
