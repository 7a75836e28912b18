#pragma once
// Shared set-up of the process-core tests: one Qt application, a stand-in
// system root and a working directory below it, entered once per program
// before any thread starts. Header only.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include <QCoreApplication>

#include "test_root.h"

inline const std::string& coreTestWorkDir()
{
    static const std::string dir = [] {
        static int argc = 1;
        static char name[] = "coretest";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            new QCoreApplication(argc, argv);
        static TestRoot* root = new TestRoot();
        const std::string work = root->dir() + "/work";
        mkdir(work.c_str(), 0755);
        if (chdir(work.c_str()) != 0)
            std::abort();
        return work;
    }();
    return dir;
}
