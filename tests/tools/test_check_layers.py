"""The layer check on small trees: what it must find and what it must pass."""
import importlib.util
import os
import tempfile
import unittest

TOOLS = os.environ.get('ZEMRA_TOOLS_DIR', os.path.join(os.path.dirname(__file__), '..', '..', 'tools'))
spec = importlib.util.spec_from_file_location('check_layers', os.path.join(TOOLS, 'check_layers.py'))
check_layers = importlib.util.module_from_spec(spec)
spec.loader.exec_module(check_layers)


class LayerCheck(unittest.TestCase):
    def tree(self, files):
        root = tempfile.TemporaryDirectory()
        self.addCleanup(root.cleanup)
        files = dict(files)
        files.setdefault('tools/layers.txt', '# bottom first\nplatform\ncore\nnet # the wire\napp\n')
        files.setdefault('platform/include/win/kernel.h', '')
        for name, text in files.items():
            path = os.path.join(root.name, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, 'w', encoding='utf-8') as f:
                f.write(text)
        return root.name

    def test_cases(self):
        cases = [
            # (what, file, text, faults)
            ('down', 'net/a.cpp', '#include "core/b.h"\n#include "platform/c.h"\n', 0),
            ('own folder', 'core/a.cpp', '#include "core/b.h"\n#include "b.h"\n', 0),
            ('platform headers', 'core/a.h', '#include "win/kernel.h"\n', 0),
            ('system header', 'core/a.cpp', '#include <net/if.h>\n', 0),
            ('up one', 'core/a.cpp', '#include "net/csocket.h"\n', 1),
            ('up two, indented, in a subfolder', 'platform/x/y.h', '  #  include "app/shell.h"\n', 1),
            ('a folder of its own that shares a name', 'core/a.cpp', '#include "net/own.h"\n', 0),
            ('not a layer', 'core/a.cpp', '#include "tests/support/x.h"\n', 0),
        ]
        for what, name, text, faults in cases:
            with self.subTest(what):
                files = {name: text}
                if what.startswith('a folder of its own'):
                    files['core/net/own.h'] = ''
                found = check_layers.wrong_way_includes(self.tree(files))
                self.assertEqual(len(found), faults, found)
                if faults:
                    self.assertIn(name, found[0])

    def test_exit_status(self):
        self.assertEqual(check_layers.main(['x', self.tree({'core/a.cpp': '#include "core/b.h"\n'})]), 0)
        self.assertEqual(check_layers.main(['x', self.tree({'core/a.cpp': '#include "app/b.h"\n'})]), 1)


if __name__ == '__main__':
    unittest.main()
