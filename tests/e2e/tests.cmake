# End-to-end tests are registered here.
