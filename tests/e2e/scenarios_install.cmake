qz_robot_scenarios(install
  install_full
  install_running_copy_waits
  install_running_copy_cancel
  install_close_refused
  install_truncated
  install_bad_header
  install_hostile_directory
  install_empty_package
  install_western_code_page
  install_from_other_directory
  install_held_file
  install_disk_full)
# Under the Western code page 1252: the run's locale is fr_FR.UTF-8.
set_property(TEST e2e.install.install_western_code_page APPEND PROPERTY ENVIRONMENT
  QZ_WINE_LOCALE=fr_FR)
# Drive Q: is a 1 MiB tmpfs that scripts/wine-run mounts for this run only.
set_property(TEST e2e.install.install_disk_full APPEND PROPERTY ENVIRONMENT "QZ_WINE_TMPFS=q:1m")
