"""The Debian package made by CPack from the build folder: its files, its
declared dependencies, and, unpacked, a launcher that runs the game."""

import glob
import os
import subprocess
import unittest

import installed
from installed import harness

EXPECTED_FILES = [
    "./usr/" + installed.LAUNCHER,
    "./usr/" + installed.GAME,
    "./usr/" + installed.DESKTOP,
    "./usr/" + installed.DATA + "/gfx.png",
    "./usr/" + installed.DATA + "/zuno_font.png",
    "./usr/" + installed.DATA + "/icons/tesselon-48.png",
] + ["./usr/" + installed.icon_path(size) for size in installed.ICON_SIZES]

# Packages the program needs at run time: the C and C++ runtime, GLFW and
# OpenAL.
EXPECTED_DEPENDS = ["libc6", "libstdc++6", "libglfw3", "libopenal1"]


def output_of(*args, timeout=120):
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            timeout=timeout)
    text = result.stdout.decode(errors="replace")
    if result.returncode != 0:
        raise AssertionError("%s failed (%d):\n%s" % (" ".join(args), result.returncode, text))
    return text


def depends(field):
    """Package names of a Depends field: "a (>= 1), b | c" gives a, b, c."""
    names = []
    for item in field.split(","):
        for alternative in item.split("|"):
            if alternative.strip():
                names.append(alternative.split("(")[0].strip())
    return names


class DebianPackageTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        out = installed.temp_dir(cls, "cpack")
        output_of("cpack", "-G", "DEB", "--config",
                  os.path.join(harness.BUILD_DIR, "CPackConfig.cmake"), "-B", out)
        debs = glob.glob(os.path.join(out, "*.deb"))
        if len(debs) != 1:
            raise AssertionError("expected one .deb in %s: %s" % (out, os.listdir(out)))
        cls.deb = debs[0]

    def test_lists_the_installed_files(self):
        listing = {}
        for line in output_of("dpkg-deb", "-c", self.deb).splitlines():
            fields = line.split(None, 5)
            listing[fields[5]] = (fields[0], fields[1])
        for path in EXPECTED_FILES:
            self.assertIn(path, listing)
            self.assertEqual(listing[path][1], "root/root", path)
        for program in EXPECTED_FILES[:2]:
            self.assertEqual(listing[program][0], "-rwxr-xr-x", program)
        self.assertNotIn("./usr/" + installed.DATA + "/.stamp", listing)

    def test_declares_name_version_and_dependencies(self):
        fields = {}
        for line in output_of("dpkg-deb", "-f", self.deb, "Package", "Version",
                              "Architecture", "Section", "Depends").splitlines():
            key, _, value = line.partition(": ")
            fields[key] = value
        self.assertEqual(fields["Package"], "tesselon")
        self.assertRegex(fields["Version"], r"^\d+\.\d+\.\d+$")
        self.assertEqual(fields["Architecture"],
                         output_of("dpkg", "--print-architecture").strip())
        self.assertEqual(fields["Section"], "games")
        names = depends(fields["Depends"])
        for name in EXPECTED_DEPENDS:
            self.assertIn(name, names, fields["Depends"])

    @harness.needs_display
    def test_unpacked_launcher_runs_the_game(self):
        root = installed.temp_dir(self, "unpacked")
        output_of("dpkg", "-x", self.deb, root)
        home = installed.temp_dir(self, "home")
        installed.play_twice(self, os.path.join(root, "usr", installed.LAUNCHER),
                             installed.player_env(home),
                             os.path.join(home, ".local", "share", "tesselon"))


if __name__ == "__main__":
    harness.main()
