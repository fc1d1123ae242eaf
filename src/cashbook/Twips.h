#pragma once

// Places and sizes of the windows are given in twips: 15 twips are one pixel.
constexpr int pixel(int twips) {
    return (twips + 7) / 15;
}
