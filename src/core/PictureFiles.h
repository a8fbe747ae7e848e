#pragma once
// Pictures to and from PNG and Windows BMP files. PNG files are put together
// here and packed by libdeflate, and read through libpng; BMP is written by hand as the program's windows save it: 1, 4
// or 8 bits per pixel with a colour table, or 32 bits per pixel.
//
// Every function returns false with the reason in Error (in words, naming no
// file: the caller knows which file it was). Writers go through
// WriteFileAtomic, so a failed write leaves the old file untouched.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Error.h"
#include "core/Picture32.h"
#include "core/Picture8.h"

// Pictures read from files are bounded so that a hostile header cannot make
// us allocate without limit: no picture the program makes or reads (code
// pages, screens, the 1024x1024 mode 7 plane, tall memory strips) comes near
// 16 million pixels or 32768 pixels on a side.
inline constexpr uint32_t MaxPictureSide = 32768;
inline constexpr uint64_t MaxPicturePixels = 16ull << 20;

// How hard the PNG writers pack, for the whole run: small files for the
// pictures people keep (the default), or fast for throw-away ones such as a
// file manager's thumbnails (about a tenth larger, in half the time).
enum class tPNGPacking { Small, Fast };
void SetPNGPacking(tPNGPacking Packing);

bool EncodePNG(const tPicture8& Picture, std::vector<uint8_t>& Out, tError& Error);
bool EncodePNG(const tPicture32& Picture, std::vector<uint8_t>& Out, tError& Error);
// BitsPerPixel 1, 4 or 8: pixel values are cut to that many bits and the
// colour table to its first 2, 16 or 256 entries.
bool EncodeBMP(const tPicture8& Picture, int BitsPerPixel, std::vector<uint8_t>& Out, tError& Error);
// Indexed pictures of 1, 4 or 8 bits per pixel (pixel values cut to that many
// bits) whose colour table holds Colours entries (2 .. 2^BitsPerPixel): the
// memory viewer saves a 3-bit view as 4 bits per pixel with eight colours.
bool EncodeIndexedBMP(const tPicture8& Picture, int BitsPerPixel, int Colours, std::vector<uint8_t>& Out,
                      tError& Error);
bool EncodeIndexedPNG(const tPicture8& Picture, int BitsPerPixel, int Colours, std::vector<uint8_t>& Out,
                      tError& Error);
bool EncodeBMP(const tPicture32& Picture, std::vector<uint8_t>& Out, tError& Error);

// Decoders tell PNG from BMP by the file's signature.
bool DecodePicture(std::span<const uint8_t> Data, tPicture32& Out, tError& Error);
// Only colour-mapped files (palette PNG, BMP of 1, 4 or 8 bits) give an
// 8-bit picture; others fail with a reason.
bool DecodePicture(std::span<const uint8_t> Data, tPicture8& Out, tError& Error);

bool WritePNG(const std::string& FileName, const tPicture8& Picture, tError& Error);
bool WritePNG(const std::string& FileName, const tPicture32& Picture, tError& Error);
bool WriteBMP(const std::string& FileName, const tPicture8& Picture, int BitsPerPixel, tError& Error);
bool WriteBMP(const std::string& FileName, const tPicture32& Picture, tError& Error);
// The name ends in ".png", in any case.
bool IsPNGName(const std::string& FileName);
// ".png" in any case is written as PNG, every other name as BMP (8 bits per
// pixel for the indexed picture).
bool WritePicture(const std::string& FileName, const tPicture8& Picture, tError& Error);
bool WritePicture(const std::string& FileName, const tPicture32& Picture, tError& Error);

bool ReadPicture(const std::string& FileName, tPicture32& Out, tError& Error);
bool ReadPicture(const std::string& FileName, tPicture8& Out, tError& Error);
