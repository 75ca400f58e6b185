#version 430 core
// The on-screen display's text: quads in window pixels, counted from the top-left corner.

in vec2 position;  // pixels
in vec2 texel;     // texels of the glyph atlas
in vec4 colour;    // the fill

uniform vec2 screenSize;  // pixels
uniform vec2 atlasSize;   // texels

out vec2 atlasCoord;
out vec4 fillColour;

void main() {
    atlasCoord = texel / atlasSize;
    fillColour = colour;
    gl_Position = vec4(position.x / screenSize.x * 2.0 - 1.0,
                       1.0 - position.y / screenSize.y * 2.0, 0.0, 1.0);
}
