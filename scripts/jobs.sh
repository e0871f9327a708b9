# The one build job count of the scripts (sourced): the machine is shared, so two unless the
# environment says otherwise.
ZEM_JOBS=${ZEM_JOBS:-2}
