#pragma once
// The frame compositor's working object.

class tRenderer {
public:
};

extern tRenderer* Renderer;
