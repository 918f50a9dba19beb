#pragma once

#include <QString>

// The three places the program uses: the install folder (the executable's folder, with the
// catalogues and seed files), the maker folder (profile + "/Quillane", with the device
// libraries) and the data folder (maker folder + "/Q7/", the working copies of everything the
// user changes). The profile folder is $XDG_DATA_HOME, by default ~/.local/share.
class AppPaths
{
public:
    static QString installFolder();
    // Tests and tools run from another folder than the install folder; they name it here.
    static void setInstallFolder(const QString &folder);

    static QString profileFolder();
    static QString makerFolder();
    // The data folder, created when missing; always ends with "/".
    static QString GetDataPath();

    // A file of the install folder / data folder, found whatever the case of its name.
    static QString installFile(const QString &relative);
    static QString dataFile(const QString &relative);
};
