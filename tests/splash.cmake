kq_add_test(splashwindow editorlib)
kq_add_test(aboutwindow editorlib)
# Under a virtual X server of its own; skipped where Xvfb is missing.
kq_add_test(fadeopacity editorlib PkgConfig::XCB)
