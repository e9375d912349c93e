#include "common/register_models.h"

#include <gtest/gtest.h>

#include <string>

namespace zelmar {
namespace {

RegisterData Register(const std::string& model, const std::string& description) {
    RegisterData reg;
    reg.ModelCode = model;
    reg.ModelDescription = description;
    return reg;
}

// The description family counts whatever the model code, and only at the description's start.
TEST(RegisterModels, AnEdDescriptionAddsItsDifferencesToAnyModel) {
    for (const char* model : {"RX", "NA", "AB"}) {
        SCOPED_TRACE(model);
        const ModelTraits ed = TraitsOfRegister(Register(model, "ED 1000"));
        EXPECT_TRUE(ed.salesStartLine && ed.sevenLineHeading);
        EXPECT_FALSE(ed.customerCodeLine);
        EXPECT_EQ(ed.customerCodeCommand, TraitsOfModel(model).customerCodeCommand);
    }
    const ModelTraits red = TraitsOfRegister(Register("RX", "RED 1000"));
    EXPECT_FALSE(red.salesStartLine || red.sevenLineHeading);
    EXPECT_TRUE(red.customerCodeLine);
}

}  // namespace
}  // namespace zelmar
