#!/usr/bin/env python3
"""Tests the include check of scripts/check-layers on made-up includes and
on a small made-up source tree."""
import importlib.machinery
import importlib.util
import pathlib
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-layers"
loader = importlib.machinery.SourceFileLoader("check_layers", str(SCRIPT))
found = importlib.util.spec_from_loader("check_layers", loader)
check = importlib.util.module_from_spec(found)
loader.exec_module(check)


class IncludeRules(unittest.TestCase):
    def test_includes(self):
        # (including folder, delimiter, included path, a fault is reported)
        cases = [
            ("shell", '"', "base/cp1252.h", False),
            ("shell", '"', "shell/database.h", False),
            ("shell", '"', "text/scanner.h", True),
            ("base", '"', "shell/database.h", True),
            ("text", '"', "shell/user_interface.h", False),
            ("crawler", '"', "search/web_index.h", True),
            ("search", '"', "crawler/url_text.h", True),
            ("cli", '"', "crawler/crawl_scheduler.h", False),
            ("cli", '"', "shell/ui/qt_text.h", True),
            ("shell", '"', "shell/ui/main_window.h", True),
            ("shell/ui", '"', "shell/database.h", False),
            ("shell/ui", '"', "crawler/ui/add_url_dialog.h", True),
            ("shell/ui", '"', "app/all_commands.h", True),
            ("search/ui", '"', "crawler/ui/add_url_dialog.h", True),
            ("search/ui", '"', "shell/ui/qt_text.h", False),
            ("crawler/ui", '"', "text/scanner.h", False),
            ("app", '"', "search/ui/search_commands.h", False),
            ("app", '"', "cli/cli.h", True),
            ("text", '"', "scanner.h", True),
            ("text", '"', "../shell/database.h", True),
            ("text", '"', "tools/thing.h", True),
            ("text", "<", "shell/database.h", True),
            ("text", "<", "sqlite3.h", False),
        ]
        for folder, delimiter, target, faulty in cases:
            with self.subTest(folder=folder, target=target):
                fault = check.include_fault(folder, delimiter, target)
                self.assertEqual(fault is not None, faulty, fault)

    def test_tree(self):
        with tempfile.TemporaryDirectory() as root:
            files = {
                "base/a.cpp": '#include "base/a.h"\n',
                "shell/b.cpp": '// b\n#include <string>\n  #  include "text/c.h"\n',
                "text/c.h": '#pragma once\n#include "shell/b.h"\n',
                "stray.cpp": "int x;\n",
                "notes.txt": '#include "app/x.h"\n',
            }
            for name, text in files.items():
                path = pathlib.Path(root, name)
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_text(text)
            self.assertEqual(
                check.violations(root),
                ["shell/b.cpp:3: shell may not include from text", "stray.cpp:1: not in a layer folder"],
            )


if __name__ == "__main__":
    sys.exit(unittest.main())
