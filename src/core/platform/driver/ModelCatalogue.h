#pragma once
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/driver/PrinterModel.h"
#include "platform/spool/PrintQueue.h"

namespace vx {

/// The described printer models: one descriptor file ("*.xml") per model in a folder.
class ModelCatalogue {
public:
    /// Reads every descriptor of the folder in file-name order. A refused descriptor, or
    /// a second one of a model already read, gives one stderr line (file, line, reason)
    /// and is left out; the others still load.
    static ModelCatalogue LoadFolder(const std::filesystem::path& folder);
    /// The models of the data folder's "printers" folder, read once per process.
    static const ModelCatalogue& Shipped();

    const std::vector<std::shared_ptr<const PrinterModel>>& Models() const { return mModels; }
    /// The model of that name, ASCII letters compared without case; null when none.
    std::shared_ptr<const PrinterModel> Find(std::string_view name) const;
    /// The model a queue is supported as, null when none: the model the queue file names
    /// for it wins; otherwise a CUPS queue's make-and-model names a model (NamesModel).
    std::shared_ptr<const PrinterModel> ModelForQueue(const PrintQueue& queue) const;

private:
    std::vector<std::shared_ptr<const PrinterModel>> mModels;
};

/// True when a make-and-model text names the model: it equals the model name, or starts
/// with it followed by a character that is no ASCII letter or digit (nor part of a
/// non-ASCII one); ASCII letters compare without case.
bool NamesModel(std::string_view makeAndModel, std::string_view modelName);

}  // namespace vx
