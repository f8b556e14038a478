#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "view/gl/estado_vista.h"
#include "view/quadros/leitor_quadros.h"

namespace tevra {

// The legacy OpenGL 1.1 drawing of the animation window. Every function needs the
// window's context current.

// Depth test, normalised normals, smooth shading, black clear colour, nicest perspective.
void configurarEstadoFixo();

// Two-sided lighting, faint ambient, two white lights, a shiny white material. The light
// positions are set by every picture.
void configurarLuzes();

// Uploads the 256 x 256 RGBA texels (see montarTextura) as a repeating, nearest-texel,
// modulating texture; returns its name.
unsigned carregarTextura(const std::vector<std::uint8_t>& texels);

// The surface held in `nos` as one four-vertex triangle strip per quad, white and blue
// corners, texture coordinates over the grid, the stored normals reversed. Meant to be
// compiled into a display list.
void desenharSuperficie(const NosSuperficie& nos, bool superficieFechada);

// One picture, without clearing or swapping: projection, camera, the view's rotation,
// translation and scale, the lights (and their markers), then the surface, drawn by
// `superficie` (for a compact frame: MalhaSuperficie::desenhar) under the view's matrix;
// an empty one draws none. Leaves lighting and texturing disabled.
void desenharCena(const EstadoVista& vista, unsigned textura, const std::function<void()>& superficie);

// The same with the surface compiled into display list `lista` (0: none).
void desenharCena(const EstadoVista& vista, unsigned textura, unsigned lista);

}  // namespace tevra
