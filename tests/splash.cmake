kq_add_test(splashwindow editorui)
kq_add_test(aboutwindow editorui)
# Under a virtual X server of its own; skipped where Xvfb is missing.
kq_add_test(fadeopacity editorui PkgConfig::XCB)
