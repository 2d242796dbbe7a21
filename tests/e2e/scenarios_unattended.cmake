qz_robot_scenarios(unattended
  unattended_install
  unattended_exit_codes)
