#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "templates/TemplateFiles.h"

namespace vx {

class CLayoutSetting;

/// The file names (no folder) of the images and the stamp that the template file at
/// templatePath names inside imageFolder; empty when the file cannot be read.
std::vector<std::string> FilesNamedInImageFolder(const std::filesystem::path& templatePath,
                                                 const std::filesystem::path& imageFolder);

/// Writes layout as the template file at templatePath. With `mSaveTemplateWithImages`
/// every image (and a stamp in use) is copied into the template's image folder under a
/// name no other file there has (ignoring ASCII case; an image already in the folder
/// stays where it is) and the file names the copies; afterwards the files the previous
/// version named and this one does not are deleted, and a folder left empty by a save
/// without images is removed. A free-text-less automatic layout is written with one
/// page; an unused stamp is dropped. On any failure 59425 is shown and layout, image
/// folder and old template file are as they were. True when written.
bool WriteTemplateFile(CLayoutSetting& layout, const std::filesystem::path& templatePath);

}  // namespace vx
