target_sources(gui_tests PRIVATE)
