#include "platform/driver/ModelCatalogue.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "platform/driver/DescriptorReader.h"
#include "platform/system/Folders.h"
#include "platform/system/Paths.h"
#include "platform/system/Utf8.h"

namespace fs = std::filesystem;

namespace vx {

bool NamesModel(std::string_view makeAndModel, std::string_view modelName) {
    if (modelName.empty() || makeAndModel.size() < modelName.size()) return false;
    if (!EqualsNoCaseAscii(makeAndModel.substr(0, modelName.size()), modelName)) return false;
    if (makeAndModel.size() == modelName.size()) return true;
    const unsigned char next = static_cast<unsigned char>(makeAndModel[modelName.size()]);
    const bool alnum = (next >= '0' && next <= '9') || (next >= 'a' && next <= 'z') ||
                       (next >= 'A' && next <= 'Z') || next >= 0x80;
    return !alnum;
}

ModelCatalogue ModelCatalogue::LoadFolder(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".xml") files.push_back(it->path());
    if (ec) std::fprintf(stderr, "VellicorEX: %s: %s\n", PathText(folder).c_str(), ec.message().c_str());
    std::sort(files.begin(), files.end());

    ModelCatalogue catalogue;
    for (const fs::path& file : files) {
        auto model = std::make_shared<PrinterModel>();
        DescriptorProblem p = DescriptorReader::Read(file, *model);
        if (p.ok() && catalogue.Find(model->name)) p = {DescriptorFault::RepeatedModel, 0, model->name};
        if (!p.ok()) {
            std::fprintf(stderr, "VellicorEX: %s:%d: printer model left out: %s%s%s\n",
                         PathText(file).c_str(), p.line, DescriptorFaultText(p.fault),
                         p.detail.empty() ? "" : ": ", p.detail.c_str());
            continue;
        }
        catalogue.mModels.push_back(std::move(model));
    }
    return catalogue;
}

const ModelCatalogue& ModelCatalogue::Shipped() {
    static const ModelCatalogue shipped = LoadFolder(DataFolder() / "printers");
    return shipped;
}

std::shared_ptr<const PrinterModel> ModelCatalogue::Find(std::string_view name) const {
    for (const auto& m : mModels)
        if (EqualsNoCaseAscii(m->name, name)) return m;
    return nullptr;
}

std::shared_ptr<const PrinterModel> ModelCatalogue::ModelForQueue(const PrintQueue& queue) const {
    if (!queue.model.empty()) return Find(queue.model);
    if (queue.kind != QueueKind::Cups) return nullptr;
    std::shared_ptr<const PrinterModel> best;
    for (const auto& m : mModels)
        if (NamesModel(queue.makeAndModel, m->name) && (!best || m->name.size() > best->name.size()))
            best = m;
    return best;
}

}  // namespace vx
