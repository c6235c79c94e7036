#include "TestApplication.h"
#include "core/app/Settings.h"
#include "core/app/TextService.h"
#include "ui/widgets/QtTranslations.h"

#include <gtest/gtest.h>

// The layout tests run once per language: the language is taken from
// DORVANE_TEST_LANGUAGE and fixed for the process by the first text fetched,
// before any window is made.
int main(int argc, char **argv)
{
    dorvane::test::TestApplication application(argc, argv);
    dorvane::settings().language = qEnvironmentVariableIntValue("DORVANE_TEST_LANGUAGE");
    dorvane::loadText(1);
    dorvane::installQtTranslations(application.application(), dorvane::settings().language);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
