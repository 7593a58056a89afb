// The scattered order in which a dissolving bitmap builds up: 64 passes, each adding one
// pixel of every 8 x 8 cell. Pure logic, no Windows.
#pragma once
#include <stdint.h>

constexpr int kDissolvePasses = 64;

// DissolveOrder[y mod 8][x mod 8] is the pass (0..63) in which bitmap pixel (x, y) is drawn.
extern const uint8_t DissolveOrder[8][8];

// The cell position drawn in the given pass: column and row within every 8 x 8 cell.
// Returns 0 for a pass outside 0..63 (the outputs are then left alone), 1 otherwise.
int DissolveCell(int pass, int* column, int* row);
