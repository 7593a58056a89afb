#include "presentation/dissolve.h"

#include "runtime/countof.h"

// Rows from top to bottom, columns from left to right.
const uint8_t DissolveOrder[8][8] = {
    {44, 16, 24, 36, 46, 18, 26, 38}, {48, 0, 8, 56, 50, 2, 10, 58},
    {28, 32, 40, 20, 30, 34, 42, 22}, {12, 60, 52, 4, 14, 62, 54, 6},
    {47, 19, 27, 39, 45, 17, 25, 37}, {51, 3, 11, 59, 49, 1, 9, 57},
    {31, 35, 43, 23, 29, 33, 41, 21}, {15, 63, 55, 7, 13, 61, 53, 5},
};

int DissolveCell(int pass, int* column, int* row) {
    for (int y = 0; y < CountOf(DissolveOrder); ++y) {
        for (int x = 0; x < CountOf(DissolveOrder[y]); ++x) {
            if (DissolveOrder[y][x] == pass) {
                *column = x;
                *row = y;
                return 1;
            }
        }
    }
    return 0;
}
