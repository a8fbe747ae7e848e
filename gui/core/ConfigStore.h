#pragma once
// The store beneath the windows' settings: the program's one configuration
// object, addressed by section and key.

#include <string>
#include <vector>

#include "core/Error.h"

void ConfigStoreSection(const std::string& Name);
bool ConfigStoreRead(const std::string& Key, std::string& Value);
void ConfigStoreWrite(const std::string& Key, const std::string& Value);
bool ConfigStoreReadList(const std::string& Key, std::vector<std::string>& Items);
void ConfigStoreWriteList(const std::string& Key, const std::vector<std::string>& Items);
bool ConfigStoreFileExisted();
void ConfigStoreClear();
bool ConfigStoreSave(const std::string& FileName, tError& Error);
