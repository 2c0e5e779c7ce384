// local build stub, not committed
