#pragma once
#include <gtest/gtest.h>

#include <string>

#include "platform/driver/DataDrivenModule.h"
#include "platform/driver/ModelCatalogue.h"

namespace vx::test {

/// A shipped model opened fresh (mode 0) in a DataDrivenModule.
struct OpenedModel {
    explicit OpenedModel(const std::string& name)
        : model(ModelCatalogue::Shipped().Find(name)), module(Require(model, name)) {
        EXPECT_EQ(module.Open(name + " (Test)", "/tmp/out", 0, nullptr, handle), 0);
    }

    int Set(DriverItem item, const DriverWords& value) { return module.SetData(handle, item, value); }
    DriverWords Get(DriverItem item, const DriverWords& query = {}) {
        DriverValue v;
        EXPECT_EQ(module.GetData(handle, item, query, v), 0) << "item " << static_cast<int>(item);
        return v.words;
    }
    DriverWords Range(DriverItem item, const DriverWords& query = {}) {
        DriverValue v;
        EXPECT_EQ(module.GetRange(handle, item, query, v), 0) << "item " << static_cast<int>(item);
        return v.words;
    }
    std::string Record() { return module.GetDevMode(handle); }

    std::shared_ptr<const PrinterModel> model;
    DataDrivenModule module;
    DriverHandle handle = 0;

private:
    static std::shared_ptr<const PrinterModel> Require(std::shared_ptr<const PrinterModel> m,
                                                       const std::string& name) {
        if (!m) throw std::runtime_error("shipped model missing: " + name);
        return m;
    }
};

}  // namespace vx::test
