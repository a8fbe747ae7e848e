#pragma once
// The main window's calls into the model objects for cartridges, saving and
// previews, in one place.

#include <cstdint>
#include <string>

#include <QImage>
#include <QString>

// The cartridge's load operation; it reports its own errors.
bool LoadCartridgeFile(const std::string& FileName);
// Looks up the cartridge under the cartridge extension list beside Name.
void FindCartridgeFor(const std::string& Name);
// The path with every component as it is stored on disk.
std::string OnDiskName(const std::string& Path);
// The picture a savestate file carries (ZSNES preview, Super Sleuth
// thumbnail), or a null image.
QImage SavestateThumbnail(const QString& FileName);
