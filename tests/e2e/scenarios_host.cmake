qz_robot_scenarios(host
  host_window_and_about
  host_install_click
  host_install_enter
  host_close_box)
