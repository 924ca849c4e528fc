// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "tests/common/testutil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

constexpr const char* kLine = "SPDX-License-Identifier: GPL-3.0-or-later";

zek::test::TCommandResult addSpdx(const std::filesystem::path& root, const std::string& option = {}) {
  const std::string script = (zek::test::sourceDir() / "tools/add-spdx.sh").string();
  return zek::test::runCommand("bash '" + script + "' " + option + " '" + root.string() + "' 2>&1");
}

std::string read(const std::filesystem::path& file) { return zek::readFile(file).value_or("(missing)"); }

// Run over a tree that is no git checkout: every file of ours gets the line once, in its
// own comment style and after a "#!" line; data and other people's files stay as they were.
TEST(AddSpdx, MarksOurSourcesOnceAndLeavesTheRest) {
  zek::test::TempDir dir("zek-spdx");
  struct Case {
    const char* file;
    const char* before;
    std::string after;
  };
  const Case cases[] = {
      {"app/a.cpp", "#include <x>\n", std::string("// ") + kLine + "\n#include <x>\n"},
      {"app/a.h", "#pragma once\n", std::string("// ") + kLine + "\n#pragma once\n"},
      {"app/CMakeLists.txt", "add_library(a)\n", std::string("# ") + kLine + "\nadd_library(a)\n"},
      {"tools/s.sh", "#!/bin/sh\necho\n", std::string("#!/bin/sh\n# ") + kLine + "\necho\n"},
      {"tools/p.py", "#!/usr/bin/env python3\n\"\"\"Doc.\"\"\"\n",
       std::string("#!/usr/bin/env python3\n# ") + kLine + "\n\"\"\"Doc.\"\"\"\n"},
      {"zek", "#!/usr/bin/env bash\nset -e\n", std::string("#!/usr/bin/env bash\n# ") + kLine + "\nset -e\n"},
      {"content/blocks/x.cpp", "int x;\n", "int x;\n"},
      {"fuzz/corpus/t/seed.h", "int y;\n", "int y;\n"},
      {"third_party/lib/z.cpp", "int z;\n", "int z;\n"},
      {"app/borrowed.cpp", "// Copyright (C) 2019 Someone Else\nint w;\n", "// Copyright (C) 2019 Someone Else\nint w;\n"},
      {"app/notes.txt", "text\n", "text\n"},
      {"app/marked.cpp", "// SPDX-License-Identifier: MIT\nint v;\n", "// SPDX-License-Identifier: MIT\nint v;\n"},
  };
  for (const Case& c : cases) dir.write(c.file, c.before);

  EXPECT_EQ(addSpdx(dir.path(), "--check").status, 1);
  ASSERT_EQ(addSpdx(dir.path()).status, 0);
  for (const Case& c : cases) EXPECT_EQ(read(dir.path() / c.file), c.after) << c.file;
  // A second run changes nothing, and the check is content.
  ASSERT_EQ(addSpdx(dir.path()).status, 0);
  for (const Case& c : cases) EXPECT_EQ(read(dir.path() / c.file), c.after) << c.file;
  EXPECT_EQ(addSpdx(dir.path(), "--check").status, 0);
}

}  // namespace
