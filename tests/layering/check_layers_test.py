#!/usr/bin/env python3
"""The include-layering check against small trees made for each case."""

import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                       "check-layers.py")


class LayeringCheckTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        # A tree that keeps the order: each folder includes downwards only.
        self.write("platform/Types.h", "#pragma once\n")
        self.write("platform/window/Wnd.h", '#include "platform/Types.h"\n')
        self.write("platform/gdi/Gdi.h", '#include "platform/Types.h"\n')
        self.write("platform/display/Sdl.cpp",
                   '#include "platform/window/Wnd.h"\n#include "platform/gdi/Gdi.h"\n')
        self.write("knclientbase05/KNSocket.h", '#include "platform/window/Wnd.h"\n')
        self.write("knclientUI05/MsgBoxDlg.cpp",
                   '#include "knclientUI05/MsgBoxDlg.h"\n#include "knclientbase05/KNSocket.h"\n')
        self.write("Tablehub/Tablehub.cpp", '#include "knclientUI05/MsgBoxDlg.h"\n')
        self.write("tools/tablehost/Host.cpp", '#include "Tablehub/Tablehub.h"\n#include <vector>\n')
        self.write("tests/Tablehub/TablehubTest.cpp",
                   '#include "tests/support/Kit.h"\n#include "tools/tablehost/Host.h"\n')
        self.write("assets/resource.h", "#define IDS_X 1\n")
        self.write("scripts/run.sh", "echo\n")

    def tearDown(self):
        self.folder.cleanup()

    def write(self, path, text):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as out:
            out.write(text)

    def check(self):
        run = subprocess.run([sys.executable, CHECKER, "--root", self.root],
                             capture_output=True, text=True)
        return run.returncode, run.stdout

    def assertRefused(self, *expected):
        code, output = self.check()
        self.assertEqual(code, 1, output)
        for part in expected:
            self.assertIn(part, output)

    def test_tree_that_keeps_the_order_passes(self):
        code, output = self.check()
        self.assertEqual(code, 0, output)

    def test_upward_include_is_refused_with_file_and_line(self):
        self.write("platform/window/Wnd.cpp",
                   '#include "platform/window/Wnd.h"\n\n#include "knclientbase05/KNSocket.h"\n')
        self.assertRefused("platform/window/Wnd.cpp:3:", "knclientbase05/ lies above platform/")

    def test_platform_facility_including_a_higher_one_is_refused(self):
        self.write("platform/gdi/Dc.cpp", '#include "platform/gdi/Gdi.h"\n#include "../window/Wnd.h"\n')
        self.assertRefused("platform/gdi/Dc.cpp:2:",
                           "platform/window/ lies above platform/gdi/ in the platform's folder order")

    def test_platform_base_files_include_no_facility(self):
        self.write("platform/Driver.h", '#include "platform/display/Sdl.h"\n')
        self.assertRefused("platform/Driver.h:1:", "platform/display/ lies above platform/'s own")

    def test_platform_facility_without_a_place_is_refused(self):
        self.write("platform/printing/Print.cpp", '#include "platform/gdi/Gdi.h"\n')
        self.assertRefused("platform/printing/: holds sources but has no place in the platform's")

    def test_table_folders_keep_their_order(self):
        self.write("table/client/GameNetClient.h", '#include "platform/Types.h"\n')
        self.write("table/window/GameWnd.h", '#include "table/client/GameNetClient.h"\n')
        self.write("table/records/TableRecords.cpp",
                   '#include "table/client/GameNetClient.h"\n#include "table/window/GameWnd.h"\n')
        self.write("table/lobby/Lobby.cpp", '#include "table/window/GameWnd.h"\n')
        code, output = self.check()
        self.assertEqual(code, 1, output)
        self.assertIn("table/records/TableRecords.cpp:2: includes table/window/GameWnd.h: "
                      "table/window/ lies above table/records/ in the table's folder order", output)
        self.assertIn("table/lobby/: holds sources but has no place in the table's", output)
        self.assertNotIn("TableRecords.cpp:1:", output)
        self.assertNotIn("GameWnd.h:1:", output)

    def test_cycle_between_two_folders_is_refused(self):
        self.write("knclientbase05/Chat.cpp", '#include "knclientUI05/MsgBoxDlg.h"\n')
        self.assertRefused("knclientbase05/Chat.cpp:1:", "knclientUI05/ lies above")

    def test_angle_brackets_and_spacing_do_not_hide_an_include(self):
        self.write("knbase05/md5.cpp", '  #  include <Tablehub/Tablehub.h>\n')
        self.assertRefused("knbase05/md5.cpp:1:", "Tablehub/ lies above knbase05/")

    def test_relative_path_is_resolved_before_it_is_judged(self):
        self.write("knclientbase05/Frames.cpp", '#include "../Tablehub/Tablehub.h"\n')
        self.assertRefused("knclientbase05/Frames.cpp:1:", "Tablehub/ lies above")

    def test_deliverable_code_may_not_reach_into_the_tests(self):
        self.write("sprite/SpriteWnd.cpp", '#include "tests/support/Kit.h"\n')
        self.assertRefused("sprite/SpriteWnd.cpp:1:", "only tests, benchmarks and fuzz")

    def test_folder_without_a_place_in_the_order_is_refused(self):
        self.write("lobby/Lobby.cpp", '#include "platform/Types.h"\n')
        self.assertRefused("lobby/: holds sources but has no place")

    def test_include_of_a_folder_without_a_place_is_refused(self):
        self.write("docs/notes.h", "")  # a folder of ours, but not a layer
        self.write("Tablehub/Notes.cpp", '#include "docs/notes.h"\n')
        self.assertRefused("Tablehub/Notes.cpp:1:", "docs/, which has no place")

    def test_posix_header_or_call_outside_the_platform_is_refused(self):
        self.write("game/Events.cpp", '#include "platform/Types.h"\n#include <strings.h>\n'
                   'int f(const char* a) { return strncasecmp(a, "x", 1); }\n')
        self.write("app/Log.cpp", "#include <ctime>\n#include <sys/stat.h>\n"
                   "void g(time_t t, tm* p) { ::localtime_r(&t, p); }\n")
        self.assertRefused("game/Events.cpp:2: includes <strings.h>",
                           "game/Events.cpp:3: calls strncasecmp()",
                           "app/Log.cpp:2: includes <sys/stat.h>", "app/Log.cpp:3: calls localtime_r()")

    def test_posix_names_in_the_platform_members_strings_and_comments_pass(self):
        self.write("platform/system/Crt.cpp", "#include <strings.h>\n"
                   "int f(const char* a) { return strcasecmp(a, \"b\"); }\n")
        self.write("outside/Codec.cpp", "#include <zlib.h>\n")
        self.write("tools/tablehost/Listen.cpp", "#include <unistd.h>\nint p = getpid();\n")
        self.write("table/Clock.cpp",
                   '// not localtime_r(): the platform gives localtime_s\n'
                   'const char* kName = "strcasecmp(";\n'
                   "int a = clock.gettimeofday(1) + other->usleep(2) + Mine::setenv(3);\n"
                   "/* opendir(\n   readdir( */ int b = 0;\n")
        code, output = self.check()
        self.assertEqual(code, 0, output)

    def test_posix_call_after_a_block_comment_on_its_line_is_refused(self):
        self.write("sprite/Wait.cpp", "/* a pause */ usleep(10);\n")
        self.assertRefused("sprite/Wait.cpp:1: calls usleep()")

    def test_build_trees_and_hidden_folders_are_not_scanned(self):
        self.write("build/CMakeCache.txt", "")
        self.write("build/CMakeFiles/Id.cpp", '#include "Tablehub/Tablehub.h"\n')
        self.write(".git/hooks/x.h", '#include "Tablehub/Tablehub.h"\n')
        code, output = self.check()
        self.assertEqual(code, 0, output)

    def test_missing_root_is_a_usage_error(self):
        run = subprocess.run([sys.executable, CHECKER, "--root", os.path.join(self.root, "none")],
                             capture_output=True, text=True)
        self.assertEqual(run.returncode, 2)
        self.assertIn("is not a folder", run.stderr)


if __name__ == "__main__":
    unittest.main()
