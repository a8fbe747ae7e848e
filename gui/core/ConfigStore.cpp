#include "core/ConfigStore.h"

#include "core/INI.h"

// The windows' settings go through the program's one configuration object.

void ConfigStoreSection(const std::string& Name)
{
    if (INI)
        INI->SetSection(Name);
}

bool ConfigStoreRead(const std::string& Key, std::string& Value)
{
    return INI && INI->ReadString(Key, Value);
}

void ConfigStoreWrite(const std::string& Key, const std::string& Value)
{
    if (INI)
        INI->WriteString(Key, Value);
}

bool ConfigStoreReadList(const std::string& Key, std::vector<std::string>& Items)
{
    return INI && INI->ReadList(Key, Items);
}

void ConfigStoreWriteList(const std::string& Key, const std::vector<std::string>& Items)
{
    if (INI)
        INI->WriteList(Key, Items);
}

bool ConfigStoreFileExisted()
{
    return INI && INI->FileExisted;
}

void ConfigStoreClear()
{
    if (INI)
        INI->Clear();
}

bool ConfigStoreSave(const std::string& FileName, tError& Error)
{
    if (!INI) {
        Error = tError("no configuration");
        return false;
    }
    return INI->SaveToFile(FileName, Error);
}
