#version 430 core

// Only depth is stored: the hardware depth of each face's perspective projection, which the
// scene shader reproduces from the distance along the face's axis.
void main()
{
}
